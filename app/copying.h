// Copying a series into the new file, the same for the edit session and the
// command line: which writer the new file's format letter takes, whether
// the new file can hold the series, and the writing itself.
#pragma once

#include <cstdint>
#include <string_view>

#include "series/series.h"

namespace app {

// The writer request of an output format letter: "3W" for "3", "MW" for
// "M", the compact writer ("C") for every other letter (as the session's
// format question takes them).
std::string_view writerRequest(char outputFormat);
inline constexpr std::string_view kCompactRequest = "C";
// The index writer, with the sample counts (the command line's "I").
inline constexpr std::string_view kIndexRequest = "IW";

// Why the new file cannot hold a series.
enum class Refusal {
  None,
  NoValues,     // every value was eliminated or cut away
  YearsBeyond,  // a year beyond the format's year fields
  ValueBeyond,  // a value beyond its value field, or not a number
};
struct CopyCheck {
  Refusal refusal = Refusal::None;
  int value = -1;               // with ValueBeyond: the index of the value
  bool compactHoldsIt = false;  // with ValueBeyond: the compact format would
};
CopyCheck checkCopy(const series::Series& s, std::string_view request);

// Writes the series with the request's writer into the unit's buffer. The
// series is not changed (the decadal writer shares the reader's signature).
void appendSeries(series::Series& s, std::int32_t unit, std::string_view request);
// appendSeries and then through to the disk (FLUSH), so that the series is
// in the file once this returns: what the session's COPIED stands for.
void writeSeries(series::Series& s, std::int32_t unit, std::string_view request);

}  // namespace app
