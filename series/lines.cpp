// Line reading, title echo, reader state and series filling shared by the
// readers of every line format.
#include "series/lines.h"

#include <algorithm>

#include "dialogue/tables.h"
#include "fmtio/io.h"

namespace series {

LineStatus readLine(std::int32_t unit, std::string& line) {
  std::int32_t ios = 0;
  int rc = fmtio::READ({.unit = unit, .iostat = &ios, .err = true, .end = true}, FMT("(A)"), line);
  if (rc == fmtio::kOutcomeEnd) return LineStatus::End;
  return rc == fmtio::kCompleted ? LineStatus::Ok : LineStatus::Error;
}

ReaderState& readerState() {
  static ReaderState state;
  return state;
}

void resetReaders() { readerState() = ReaderState{}; }

void echoTitle(std::string_view line, TitleStyle style, char& note) {
  if (dialogue::titleFlag() != ' ') return;
  if (style == TitleStyle::Blank1X)
    fmtio::WRITE(6, FMT("(' Title:'/1X,A)"), line);
  else
    fmtio::WRITE(6, FMT("(' Title:'/T2,A)"), line);
  std::int32_t list = dialogue::tables().iulist;
  if (list > 0) {
    fmtio::WRITE(list, FMT("(/' Title of data: ',A)"), line);
    note = '1';
  }
}

void updateTitleFlag(char note) { dialogue::setTitleFlag(note); }

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
    fmtio::WRITE(6,
                 FMT("(' >> Sbr ',A,':  Series ',A,' has more than',I5,' values:',"
                     "' the rest is skipped')"),
                 routine_, shownIdent(s_.ident), kMaxValues);
  }
  return false;
}

void SeriesFill::add(float value) {
  if (room()) s_.values[s_.count++] = value;
}

void SeriesFill::add(float value, std::int32_t samples) {
  if (!room()) return;
  s_.samples[s_.count] = samples;
  s_.values[s_.count++] = value;
}

}  // namespace series
