// Where convert and check put the series they read: the new file of a line
// format, written series by series as the session's "T" writes them, but
// through to the disk only at the end (convert shows no COPIED that would
// promise a series on the disk); the new file of an exchange format,
// written whole at the end; or, for check, the listing. Series from an
// exchange format get identifications cut to the new file's field, each
// told, and kept distinct.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "app/arguments.h"
#include "app/batch.h"
#include "series/exchange.h"
#include "series/series.h"

namespace app {

class SeriesSink {
 public:
  // writing false: check's listing; withSamples: the input holds sample counts.
  SeriesSink(std::int32_t out, bool writing, bool withSamples, const BatchOptions& options,
             InputReport& report);

  // A series of a line format (its identification as the session has it).
  void take(series::Series& s, std::int32_t sequence);
  // A series of an exchange format.
  void take(const series::NamedSeries& named, std::int32_t sequence);
  // Writes the new file of an exchange format, and any new file through to
  // the disk: a write that fails stops the run with its error here.
  void finish();

 private:
  std::string identFor(const std::string& name);
  void writeExchange();
  void count(std::int32_t values);

  std::int32_t out_;
  bool writing_;
  bool withSamples_;
  const BatchOptions& options_;
  InputReport& report_;
  std::set<std::string> idents_;
  std::vector<series::NamedSeries> collected_;
  series::Series record_;
};

}  // namespace app
