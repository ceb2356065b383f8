// The watcher of the series being edited.
#include "app/series_watch.h"

#include <utility>

namespace app {
namespace {

// The one watcher of the process, registered by the front end.
struct SeriesWatch {
  SeriesWatcher watcher;
};

SeriesWatch& watch() {
  static SeriesWatch state;
  return state;
}

}  // namespace

void watchSeries(SeriesWatcher watcher) { watch().watcher = std::move(watcher); }

void seriesShown(const CurrentSeries& current, std::int32_t inUnit) {
  if (watch().watcher) watch().watcher(current, inUnit);
}

}  // namespace app
