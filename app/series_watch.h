// Following the series being edited from outside the session: a front end
// (the window environment's plot) registers one watcher; the session tells
// it each time it shows the current series, that is after the series was
// read and after every command on it. The watcher only looks: it must not
// read, write or change anything of the session.
#pragma once

#include <cstdint>
#include <functional>

#include "app/edits.h"

namespace app {

// The current series with its saved copy, and the unit of the existing
// file (whose format letter tells the values' units).
using SeriesWatcher = std::function<void(const CurrentSeries& current, std::int32_t inUnit)>;

// Registers the watcher; an empty function removes it.
void watchSeries(SeriesWatcher watcher);

// Called by the session each time it shows the current series.
void seriesShown(const CurrentSeries& current, std::int32_t inUnit);

}  // namespace app
