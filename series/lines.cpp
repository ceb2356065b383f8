// Line reading, title echo, reader state and series filling shared by the
// readers of every line format.
#include "series/lines.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/tables.h"
#include "fmtio/io.h"

namespace series {

bool LineReader::takePending(std::int32_t unit) {
  if (pendingUnit_ != unit || pending_.empty()) return false;
  last_ = std::move(pending_.front());
  pending_.erase(pending_.begin());
  if (last_.size() < taken_) last_.resize(taken_, ' ');
  return true;
}

// A READ that completes fills every column of last_ (the record, then
// blanks), so the columns are blanked beforehand only when its width
// changes, and afterwards when the READ did not complete (it transferred
// nothing).
LineStatus LineReader::read(std::int32_t unit, std::string& line) {
  taken_ = line.size();
  if (takePending(unit)) {
    std::copy_n(last_.begin(), line.size(), line.begin());
    return LineStatus::Ok;
  }
  const std::size_t width = std::max(line.size(), kLookBeyond);
  if (last_.size() != width) last_.assign(width, ' ');
  int rc = fmtio::READ(fmtio::Control::catching(unit), FMT("(A)"), last_);
  if (rc != fmtio::kCompleted) std::fill(last_.begin(), last_.end(), ' ');
  if (rc == fmtio::kOutcomeEnd) return LineStatus::End;
  std::copy_n(last_.begin(), line.size(), line.begin());
  return rc == fmtio::kCompleted ? LineStatus::Ok : LineStatus::Error;
}

void LineReader::unread(std::int32_t unit, std::string_view text) {
  if (pendingUnit_ != unit) pending_.clear();
  pendingUnit_ = unit;
  pending_.emplace(pending_.begin(), text);
}

LineStatus readLine(std::int32_t unit, std::string& line) {
  return readerState().lines.read(unit, line);
}

namespace {

void showCut(std::size_t readTo, std::string_view rest) {
  std::size_t end = rest.find_last_not_of(' ');
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Data line longer than',I3,' characters; not read:'/1X,A)"),
               static_cast<std::int32_t>(readTo), rest.substr(0, end + 1));
}

// Whether text is blanks alone, told by one comparison with as many
// blanks: the columns beyond a line are mostly blanks, usually all of them.
bool onlyBlanks(std::string_view text) {
  static constexpr std::array<char, kLookBeyond> kBlanks = [] {
    std::array<char, kLookBeyond> blanks{};
    blanks.fill(' ');
    return blanks;
  }();
  return text.size() <= kBlanks.size() &&
         std::memcmp(text.data(), kBlanks.data(), text.size()) == 0;
}

// Only digits can be lost values; words there are notes beside the data.
// Blanks alone are told at once, else the text is passed over eight at a
// time, each eight compared as one word.
bool holdsDigits(std::string_view text) {
  if (onlyBlanks(text)) return false;
  constexpr std::uint64_t kBlankWord = 0x2020202020202020u;
  std::size_t at = 0;
  for (std::uint64_t word; at + sizeof word <= text.size(); at += sizeof word) {
    std::memcpy(&word, text.data() + at, sizeof word);
    if (word != kBlankWord) break;
  }
  return std::any_of(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

// Whether a blank-separated word of the text is a number (digits with an
// optional sign and point): an eleventh value, not a tag such as «FR-002».
bool holdsNumber(std::string_view text) {
  for (std::size_t at = text.find_first_not_of(' '); at != std::string_view::npos;) {
    std::size_t end = std::min(text.find(' ', at), text.size());
    std::string_view word = text.substr(at, end - at);
    if (word.front() == '-' || word.front() == '+') word.remove_prefix(1);
    if (holdsDigits(word) && word.find_first_not_of("0123456789.") == std::string_view::npos)
      return true;
    at = text.find_first_not_of(' ', end);
  }
  return false;
}

}  // namespace

void reportCutData() {
  const LineReader& lines = readerState().lines;
  std::string_view rest =
      std::string_view(lines.last()).substr(std::min(lines.taken(), lines.last().size()));
  if (holdsDigits(rest)) showCut(lines.taken(), rest);
}

// Blanks alone from the end of the fields or of the columns taken on, the
// case of nearly every line, hold nothing to show.
void reportCutData(std::size_t fieldsEnd) {
  const LineReader& lines = readerState().lines;
  std::string_view whole(lines.last());
  std::size_t taken = std::min(lines.taken(), whole.size());
  if (onlyBlanks(whole.substr(std::min(fieldsEnd, taken)))) return;
  if (fieldsEnd < taken && holdsNumber(whole.substr(fieldsEnd, taken - fieldsEnd)))
    return showCut(fieldsEnd, whole.substr(fieldsEnd));
  reportCutData();
}

void unreadLine(std::int32_t unit, std::string_view text) {
  readerState().lines.unread(unit, text);
}

void unreadLine(std::int32_t unit) {
  LineReader& lines = readerState().lines;
  lines.unread(unit, lines.last());
}

const std::string& lastLineRead() { return readerState().lines.last(); }

ReaderState& readerState() {
  static ReaderState state;
  return state;
}

void resetReaders() { readerState() = ReaderState{}; }

void echoTitle(std::string_view line, TitleStyle style, char& note) {
  if (common::titleFlag() != ' ') return;
  if (style == TitleStyle::Blank1X)
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' Title:'/1X,A)"), line);
  else
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' Title:'/T2,A)"), line);
  std::int32_t list = common::tables().iulist;
  if (list > 0) {
    fmtio::WRITE(list, FMT("(/' Title of data: ',A)"), line);
    note = '1';
  }
}

void updateTitleFlag(char note) { common::setTitleFlag(note); }

void setIdent(std::string& ident, std::string_view text) {
  std::size_t n = std::min({ident.size(), text.size(), std::size_t{kMaxIdentLength}});
  std::copy_n(text.begin(), n, ident.begin());
  std::fill(ident.begin() + static_cast<std::ptrdiff_t>(n), ident.end(), ' ');
}

std::string_view shownIdent(std::string_view ident) {
  ident = ident.substr(0, kMaxIdentLength);
  while (!ident.empty() && (ident.back() == ' ' || ident.back() == '\0')) ident.remove_suffix(1);
  return ident;
}

std::string identColumns(std::string_view ident, std::size_t n) {
  std::string out(n, ' ');
  std::copy_n(ident.begin(), std::min(n, ident.size()), out.begin());
  return out;
}

SeriesFill::SeriesFill(Series& s, std::string_view routine) : s_(s), routine_(routine) {}

bool SeriesFill::room() {
  if (s_.count < kMaxValues) return true;
  if (!cut_) {
    cut_ = true;
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr ',A,':  Series ',A,' has more than',I5,' values:',"
                     "' the rest is skipped')"),
                 routine_, shownIdent(s_.ident), kMaxValues);
  }
  return false;
}

namespace {
// A NaN no number read gives: the runtime reads "NaN" as the quiet NaN
// without payload.
constexpr std::uint32_t kUnreadBits = 0x7FA5A5A5u;
}  // namespace

std::string_view beforeSlash(std::string_view line) {
  char quote = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '/') {
      return line.substr(0, i);
    }
  }
  return line;
}

float unreadValue() { return std::bit_cast<float>(kUnreadBits); }

bool isUnread(float value) { return std::bit_cast<std::uint32_t>(value) == kUnreadBits; }

void SeriesFill::addListed(float value) {
  if (isUnread(value)) {
    if (s_.count < kMaxValues)
      fmtio::WRITE(fmtio::kConsoleOutput,
                   FMT("(' >> Sbr ',A,':  Series ',A,': value',I5,' is missing on its line:',"
                       "' taken as 0')"),
                   routine_, shownIdent(s_.ident), s_.count + 1);
    value = 0.0f;
  }
  add(value);
}

void SeriesFill::add(float value, std::int32_t samples) {
  if (!room()) return;
  s_.samples[s_.count] = samples;
  s_.values[s_.count++] = value;
}

}  // namespace series
