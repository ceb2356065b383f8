// The exchange formats on random text: reading never fails, every series it
// gives is within the record's capacity with one sample count per value or
// none, and what the writer of the format makes of them reads back as the
// same series (values within the rounding of the format's integer units).
//
// Input: one byte choosing the format (Heidelberg, CSV, TRiDaS), then the text.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "series/exchange.h"
#include "series/tridas.h"

namespace {

constexpr series::Exchange kFormats[] = {series::Exchange::Heidelberg, series::Exchange::Csv,
                                         series::Exchange::Tridas};

// A value read back from integer units comes within a unit's rounding.
bool close(float a, float b) {
  return std::fabs(double(a) - double(b)) <= 1e-6 * std::max(1.0, std::fabs(double(a)));
}

// Names a format keeps as they are: printable, no blanks at the ends.
bool plainName(const std::string& name) {
  if (name.empty() || name.front() == ' ' || name.back() == ' ') return false;
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7f) return false;
  return true;
}

void checkShape(const series::ExchangeRead& read) {
  for (const series::NamedSeries& s : read.series) {
    FUZZ_CHECK(!s.values.empty() && s.values.size() <= series::kMaxValues,
               "series " + s.name + " with " + std::to_string(s.values.size()) + " values");
    FUZZ_CHECK(s.samples.empty() || s.samples.size() == s.values.size(),
               "series " + s.name + ": sample counts not one per value");
  }
}

void checkRoundTrip(series::Exchange format, const series::ExchangeRead& read) {
  for (const series::NamedSeries& s : read.series) {
    if (!plainName(s.name)) return;
    for (float v : s.values)
      if (!std::isfinite(v) || std::fabs(v) > 1e6f) return;
  }
  const series::ExchangeRead again =
      series::readExchange(format, series::writeExchange(format, read.series));
  FUZZ_CHECK(again.series.size() == read.series.size(),
             std::to_string(read.series.size()) + " series written, " +
                 std::to_string(again.series.size()) + " read back");
  for (std::size_t k = 0; k < read.series.size(); ++k) {
    const series::NamedSeries& a = read.series[k];
    const series::NamedSeries& b = again.series[k];
    FUZZ_CHECK(a.name == b.name && a.firstYear == b.firstYear && a.values.size() == b.values.size(),
               "series " + a.name + " read back as " + b.name);
    for (std::size_t i = 0; i < a.values.size(); ++i)
      FUZZ_CHECK(close(a.values[i], b.values[i]),
                 "series " + a.name + " value " + std::to_string(i) + " changed");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered = (series::registerTridas(), true);
  (void)registered;
  fuzzing::Input input(data, size);
  const series::Exchange format = kFormats[input.byte() % std::size(kFormats)];
  const std::string text(input.rest());
  const series::ExchangeRead read = series::readExchange(format, text);
  checkShape(read);
  checkRoundTrip(format, read);
  series::identifyExchange(text);
  return 0;
}
