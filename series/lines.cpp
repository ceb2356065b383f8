// Line reading, title echo, reader state and series filling shared by the
// readers of every line format.
#include "series/lines.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/tables.h"
#include "fmtio/io.h"

namespace series {

namespace {

// Columns read beyond a line's own length, to tell the user what is cut off.
constexpr std::size_t kLookBeyond = 256;

// The last line read, as wide as kLookBeyond, and the columns its reader took.
struct LastLine {
  std::string whole;
  std::size_t taken = 0;
};
LastLine& lastLine() {
  static LastLine last;
  return last;
}

// Takes the first line left to the unit as the last line read; false when
// there is none.
bool takePending(std::int32_t unit, LastLine& last) {
  ReaderState& state = readerState();
  if (state.pendingUnit != unit || state.pendingLines.empty()) return false;
  last.whole = std::move(state.pendingLines.front());
  state.pendingLines.erase(state.pendingLines.begin());
  if (last.whole.size() < last.taken) last.whole.resize(last.taken, ' ');
  return true;
}

}  // namespace

LineStatus readLine(std::int32_t unit, std::string& line) {
  LastLine& last = lastLine();
  last.taken = line.size();
  if (takePending(unit, last)) {
    std::copy_n(last.whole.begin(), line.size(), line.begin());
    return LineStatus::Ok;
  }
  last.whole.assign(std::max(line.size(), kLookBeyond), ' ');
  int rc = fmtio::READ(fmtio::Control::catching(unit), FMT("(A)"), last.whole);
  if (rc == fmtio::kOutcomeEnd) return LineStatus::End;
  std::copy_n(last.whole.begin(), line.size(), line.begin());
  return rc == fmtio::kCompleted ? LineStatus::Ok : LineStatus::Error;
}

namespace {

void showCut(std::size_t readTo, std::string_view rest) {
  std::size_t end = rest.find_last_not_of(' ');
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Data line longer than',I3,' characters; not read:'/1X,A)"),
               static_cast<std::int32_t>(readTo), rest.substr(0, end + 1));
}

// Only digits can be lost values; words there are notes beside the data.
bool holdsDigits(std::string_view text) {
  // The columns beyond a line are mostly blanks: passed over eight at a
  // time, each eight compared as one word.
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
  const LastLine& last = lastLine();
  std::string_view rest =
      std::string_view(last.whole).substr(std::min(last.taken, last.whole.size()));
  if (holdsDigits(rest)) showCut(last.taken, rest);
}

void reportCutData(std::size_t fieldsEnd) {
  const LastLine& last = lastLine();
  std::string_view whole(last.whole);
  std::size_t taken = std::min(last.taken, whole.size());
  if (fieldsEnd < taken && holdsNumber(whole.substr(fieldsEnd, taken - fieldsEnd)))
    return showCut(fieldsEnd, whole.substr(fieldsEnd));
  reportCutData();
}

void unreadLine(std::int32_t unit, std::string_view text) {
  ReaderState& state = readerState();
  if (state.pendingUnit != unit) state.pendingLines.clear();
  state.pendingUnit = unit;
  state.pendingLines.emplace(state.pendingLines.begin(), text);
}

void unreadLine(std::int32_t unit) { unreadLine(unit, lastLine().whole); }

const std::string& lastLineRead() { return lastLine().whole; }

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
