// The edit commands of the series menu. Each asks its questions, refuses a
// year outside the series with the warning and the bell (the series is then
// unchanged and nothing more is asked), or changes the current series.
#pragma once

#include "app/edits.h"

namespace app {

void editFirstYear(CurrentSeries& c);       // F
void editLastYear(CurrentSeries& c);        // U
void editInsert(CurrentSeries& c);          // I
void editEliminate(CurrentSeries& c);       // E
void editReplace(CurrentSeries& c);         // R
void editCutBeginning(CurrentSeries& c);    // (
void editCutEnd(CurrentSeries& c);          // )
void editDisplay(CurrentSeries& c);         // P
void editIdentification(CurrentSeries& c);  // N
void editRestore(CurrentSeries& c);         // Q

// " >> WARNING!  No change was made", then the bell and cursor-up record.
void warnNoChange();

}  // namespace app
