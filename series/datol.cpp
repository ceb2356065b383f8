// DATOL: the series reader of the edit session. It takes the unit's format
// letter from UNITFM, has the format identified when the letter is blank or
// "-", and hands the call to the reader of the format. A spreadsheet is
// first converted into compact series on a scratch unit, which the input
// unit's UNITNO entry names from then on.
#include "series/datol.h"

#include "common/tables.h"
#include "dialogue/ask.h"
#include "series/fmtid.h"
#include "series/meteo.h"
#include "series/spreadsheet.h"

namespace series {
namespace {

// UNITNO entry of the scratch unit the spreadsheet conversion writes.
constexpr int kScratchEntry = 59;
// A meteorological block is returned as twelve values per year.
constexpr std::int32_t kMonthsPerYear = 12;

using Reader = void (*)(Series&, std::int32_t);

struct Route {
  char letter;
  Reader read;
};

// T: one block of monthly data, its title as the identification.
void readMeteo(Series& s, std::int32_t unit) {
  std::int32_t years = 0, monthsWithData = 0;
  CLDMR(s.ident, years, s.values, s.firstYear, monthsWithData, unit, 0, kMeteoYears);
  s.count = years * kMonthsPerYear;
}

// Format letter -> the reader of one series of that format.
constexpr Route kRoutes[] = {
    {'C', DATR},
    {'M', [](Series& s, std::int32_t unit) { TRRW(s, unit, "MR"); }},
    {'I', [](Series& s, std::int32_t unit) { TRRW(s, unit, "IR"); }},
    {'A', TRRAC},
    {'V', DATVY},
    {'1',
     [](Series& s, std::int32_t unit) {
       DAT1C(s, unit);
       s.firstYear = 1;
     }},
    {'2', DAT2C},
    {'T', readMeteo},
    {'X', readUserFormat},
};

bool unidentified(char letter) { return letter == ' ' || letter == '-' || letter == '\0'; }

// The unit the caller's unit stands for now: its UNITNO entry names the
// scratch file once a spreadsheet has been converted.
std::int32_t currentUnit(std::int32_t unit) {
  return common::UNITNO(unit - common::tables().iubase);
}

}  // namespace

void DATOL(Series& s, std::int32_t given) {
  s.count = 0;
  std::int32_t unit = currentUnit(given);
  char letter = common::unitFormat(unit);
  if (unidentified(letter)) {
    FMTID(unit);
    letter = common::unitFormat(unit);
  }
  for (const Route& route : kRoutes)
    if (route.letter == letter) return route.read(s, unit);
  if (letter == 'S') {
    // The columns become compact series on the scratch unit, which the
    // unit's entry then names with the letter C.
    SPRDIN(unit, common::UNITNO(kScratchEntry), letter);
    common::setUnitFormat(unit, letter);
    return DATOL(s, given);
  }
  dialogue::BELLUP();
  common::setUnitFormat(unit, ' ');
  FMTID(unit);
}

}  // namespace series
