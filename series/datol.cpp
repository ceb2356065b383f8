// DATOL: the series reader of the edit session. It takes the unit's format
// letter from UNITFM, has the format identified when the letter is blank or
// "-", and hands the call to the reader of the format.
#include "series/datol.h"

#include <string_view>

#include "dialogue/ask.h"
#include "dialogue/tables.h"
#include "fmtio/io.h"
#include "series/fmtid.h"

namespace series {
namespace {

using Reader = void (*)(Series&, std::int32_t);

struct Route {
  char letter;
  Reader read;
};

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
};

struct Unsupported {
  char letter;
  std::string_view contents;
};

// Format letters without a reader in this program -> what such a file holds.
constexpr Unsupported kUnsupported[] = {
    {'T', "monthly meteorological data"},
    {'S', "a casewise spreadsheet"},
    {'X', "a layout described by the user"},
};

bool unidentified(char letter) { return letter == ' ' || letter == '-' || letter == '\0'; }

}  // namespace

void DATOL(Series& s, std::int32_t unit) {
  s.count = 0;
  char letter = dialogue::unitFormat(unit);
  if (unidentified(letter)) {
    FMTID(unit);
    letter = dialogue::unitFormat(unit);
  }
  for (const Route& route : kRoutes)
    if (route.letter == letter) return route.read(s, unit);
  for (const Unsupported& format : kUnsupported) {
    if (format.letter != letter) continue;
    fmtio::WRITE(6,
                 FMT("(' >> Sbr DATOL:  Format ',A,' (',A,') is not supported:',"
                     "' no series read')"),
                 std::string_view(&format.letter, 1), format.contents);
    return;
  }
  dialogue::BELLUP();
  dialogue::setUnitFormat(unit, ' ');
  FMTID(unit);
}

}  // namespace series
