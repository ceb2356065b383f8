// Copying a series into the new file.
#include "app/copying.h"

#include "fmtio/unit.h"
#include "series/datol.h"
#include "series/writers.h"

namespace app {
namespace {

// Output format letter -> request code of the measurement writer.
struct MeasurementOutput {
  char letter;
  std::string_view request;
};
constexpr MeasurementOutput kMeasurementOutputs[] = {{'3', "3W"}, {'M', "MW"}};

}  // namespace

std::string_view writerRequest(char outputFormat) {
  for (const MeasurementOutput& output : kMeasurementOutputs)
    if (output.letter == outputFormat) return output.request;
  return kCompactRequest;
}

CopyCheck checkCopy(const series::Series& s, std::string_view request) {
  if (s.count < 1) return {Refusal::NoValues};
  if (!series::writerYearsFit(s, request)) return {Refusal::YearsBeyond};
  int bad = series::firstValueBeyond(s, request);
  if (bad < 0) return {};
  return {Refusal::ValueBeyond, bad, series::firstValueBeyond(s, kCompactRequest) < 0};
}

void appendSeries(series::Series& s, std::int32_t unit, std::string_view request) {
  if (request == kCompactRequest)
    series::CMPWR(s, unit);
  else
    series::TRRW(s, unit, request);
}

void writeSeries(series::Series& s, std::int32_t unit, std::string_view request) {
  appendSeries(s, unit, request);
  fmtio::FLUSH(fmtio::Control::of(unit));
}

}  // namespace app
