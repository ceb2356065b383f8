// The dialogue of the edit commands; the arithmetic is in edits.cpp.
#include "app/commands.h"

#include <cstdint>
#include <string>

#include "app/showdat.h"
#include "dialogue/ask.h"
#include "fmtio/io.h"
#include "fmtio/unit.h"

namespace app {
namespace {

// Asks a one-character answer (upper-cased).
char askLetter(std::string_view question) {
  std::string answer(1, ' ');
  dialogue::ASKSTR(question, answer);
  return answer[0];
}

// Asks a year; false (after the warning) when check refuses it.
bool askYear(std::string_view question, const series::Series& s,
             int (*check)(const series::Series&, std::int32_t), std::int32_t& year) {
  dialogue::ASKINT(question, year);
  if (check(s, year) == kEdited) return true;
  warnNoChange();
  return false;
}

}  // namespace

void warnNoChange() {
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' >> WARNING!  No change was made')"));
  dialogue::BELLUP();
}

void editFirstYear(CurrentSeries& c) {
  std::int32_t year = 0;
  dialogue::ASKINT("Correct date of FIRST year", year);
  setFirstYear(c.series, year);
}

void editLastYear(CurrentSeries& c) {
  std::int32_t year = 0;
  dialogue::ASKINT("Correct date of LAST year", year);
  setLastYear(c.series, year);
}

// A full series is refused before any question.
void editInsert(CurrentSeries& c) {
  if (c.series.count >= series::kMaxValues) {
    warnNoChange();
    return;
  }
  std::int32_t year = 0;
  if (!askYear("Date of value BEFORE which to insert", c.series, checkInsert, year)) return;
  float value = 0.0f;
  dialogue::ASKNUM("Value to insert", value);
  char move = askLetter("Move:  < early portion BACK;  > late portion FORWARD");
  insertValue(c, year, value, move == '<');
}

void editEliminate(CurrentSeries& c) {
  std::int32_t year = 0;
  if (!askYear("Present date of value to ELIMINATE", c.series, checkYear, year)) return;
  char move = askLetter("Move:  > early portion FORWARD;  < late portion BACK");
  eliminateValue(c, year, move == '>');
}

void editReplace(CurrentSeries& c) {
  std::int32_t year = 0;
  if (!askYear("Date of value to REPLACE", c.series, checkYear, year)) return;
  float value = 0.0f;
  dialogue::ASKNUM("New VALUE", value);
  replaceValue(c.series, year, value);
}

void editCutBeginning(CurrentSeries& c) {
  std::int32_t year = 0;
  if (askYear("FIRST year to keep", c.series, checkYear, year)) cutBeginning(c.series, year);
}

void editCutEnd(CurrentSeries& c) {
  std::int32_t year = 0;
  if (askYear("LAST year to keep", c.series, checkYear, year)) cutEnd(c.series, year);
}

void editDisplay(CurrentSeries& c) {
  std::int32_t year = 0;
  dialogue::ASKINT("Around what year?", year);
  const series::Series& s = c.series;
  SHOWDAT(std::span<const float>(s.values.data(), s.values.size()), s.firstYear, s.lastYear(),
          year);
}

void editIdentification(CurrentSeries& c) {
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(/' Present identification_: ',A)"), c.series.ident);
  std::string answer(kIdentLength, ' ');
  dialogue::ASKSTR("$New identification  _", answer);
  // The answer as typed: the read expands a tab to the next tab stop, which
  // would push what follows it out of the identification's 8 columns.
  newIdentification(c.series.ident, fmtio::typedLine());
}

void editRestore(CurrentSeries& c) {
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(/' Series restored to original')"));
  restoreCopy(c);
}

}  // namespace app
