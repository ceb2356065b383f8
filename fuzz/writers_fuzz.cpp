// The writers on random series, each file read back by the reader of its
// format. A series the writer reports no trouble with must read back with
// its identification, first year and count, and its values to the
// precision of the format.
//
// Input: the writer (compact, .01 or .001 measurements, indices), how values
// are made, the identification's 8 bytes, the first year, the count, then
// the values and sample counts.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/tables.h"
#include "fmtio/io.h"
#include "fmtio/unit.h"
#include "fuzz/fuzz_support.h"
#include "series/datol.h"
#include "series/series.h"
#include "series/writers.h"
#include "tests/support/console_script.h"

namespace {

constexpr std::int32_t kUnit = 12;
constexpr std::size_t kIdentLength = 8;

struct Writer {
  std::string_view request;  // "C" compact, else the TRRW request
  char letter;               // format letter its file is read back with
  double unit;               // smallest step a value keeps (compact: relative, below)
};
// Writer chosen by the first byte -> its format letter and the precision of its values.
constexpr Writer kWriters[] = {
    {"C", 'C', 0.0}, {"MW", 'M', 0.01}, {"3W", 'M', 0.001}, {"IW", 'I', 0.001}};

// A year such that the series' last year is still a 32-bit number.
std::int32_t yearFrom(std::uint32_t bits, std::uint8_t style) {
  if (style % 4 != 0) return static_cast<std::int16_t>(bits);
  auto year = static_cast<std::int32_t>(bits);
  return std::min(year, INT32_MAX - series::kMaxValues);
}

float valueFrom(fuzzing::Input& in, std::uint8_t style) {
  switch (style % 3) {
    case 0: return in.real();
    case 1: return static_cast<float>(static_cast<std::int16_t>(in.u16())) / 100.0f;
    default: return static_cast<float>(in.u16()) / 1000.0f;
  }
}

series::Series seriesFrom(fuzzing::Input& in) {
  series::Series s;
  std::uint8_t style = in.byte();
  std::string_view ident = in.take(kIdentLength);
  // Identifications come from records (line ends gone, tabs expanded) or
  // typed answers (tabs made blanks): no line end or tab is left in them.
  s.ident.assign(kIdentLength, ' ');
  for (std::size_t i = 0; i < ident.size(); ++i)
    s.ident[i] = ident[i] == '\n' || ident[i] == '\r' || ident[i] == '\t' ? ' ' : ident[i];
  s.firstYear = yearFrom(in.u32(), style);
  s.count = 1 + in.u16() % series::kMaxValues;
  for (std::int32_t i = 0; i < s.count; ++i) {
    s.values[i] = valueFrom(in, style >> 2);
    s.samples[i] = in.u16() % 1000;
  }
  return s;
}

// How far a value may come back from the file: the compact format keeps
// about six digits of the series' range, the decadal formats their unit.
double slack(const Writer& w, const series::Series& s) {
  if (w.unit > 0) return 0.5 * w.unit;
  double range = 1.0;
  for (std::int32_t i = 0; i < s.count; ++i)
    if (std::isfinite(s.values[i]))
      range = std::max({range, double{s.values[i]}, -10.0 * s.values[i]});
  return 1e-5 * range;
}

// Identification as the reader gives it back: 8 columns (7 in the layout of
// years below -999, 6 for indices), NUL read as blank; a "-" in column 8 of
// a measurement line would mark the other year layout and is written blank.
std::string expectedIdent(const Writer& w, const series::Series& s) {
  std::size_t kept = w.letter == 'I' ? 6 : (w.letter == 'M' && s.firstYear < -999 ? 7 : 8);
  std::string ident = s.ident.substr(0, kept);
  ident.resize(kIdentLength, ' ');
  if (w.letter == 'M' && ident[7] == '-') ident[7] = ' ';
  for (char& c : ident) c = c == '\0' ? ' ' : c;
  return ident;
}

// The value the file holds: a decadal integer of 999 is written as 1000.
double expectedValue(const Writer& w, float x) {
  if (w.letter != 'M') return x;
  float product = x * static_cast<float>(std::lround(1.0 / w.unit));  // as stored: single precision
  double stored = std::round(product);
  return (stored == 999 ? 1000 : stored) * w.unit;
}

void compare(const Writer& w, const series::Series& want, series::Series got, bool scaled) {
  for (char& c : got.ident) c = c == '\0' ? ' ' : c;
  std::string what = std::string(w.request) + " of '" + want.ident + "' " +
                     std::to_string(want.firstYear) + " n=" + std::to_string(want.count) +
                     " read back as '" + got.ident + "' " + std::to_string(got.firstYear) +
                     " n=" + std::to_string(got.count);
  FUZZ_CHECK(got.count == want.count, what);
  FUZZ_CHECK(got.firstYear == want.firstYear, what);
  FUZZ_CHECK(got.ident == expectedIdent(w, want), what);
  if (scaled) return;
  const double allowed = slack(w, want);
  for (std::int32_t i = 0; i < want.count; ++i) {
    float x = want.values[i];
    double expected = expectedValue(w, x);
    FUZZ_CHECK(std::fabs(got.values[i] - expected) <= allowed + 1e-6 * std::fabs(x),
               what + ": value " + std::to_string(i) + " " + std::to_string(x) + " read back " +
                   std::to_string(got.values[i]));
    // Without sample counts (the first below 1) every value counts one sample.
    std::int32_t samples = want.samples[0] < 1 ? 1 : want.samples[i];
    if (w.letter == 'I')
      FUZZ_CHECK(got.samples[i] == samples, what + ": sample count " + std::to_string(i));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::Input in(data, size);
  const Writer& w = kWriters[in.byte() % std::size(kWriters)];
  series::Series s = seriesFrom(in);
  testing_support::ConsoleScript console;
  common::setClock([] { return common::LocalTime{}; });
  series::Series got;
  int code = console.run([&] {
    common::PROGID("FUZZ");
    series::resetReaders();
    fmtio::OPEN({.unit = kUnit}, {.file = fuzzing::scratchPath("series"), .status = "REPLACE"});
    if (w.request == "C")
      series::CMPWR(s, kUnit);
    else
      series::TRRW(s, kUnit, w.request);
    fmtio::REWIND({.unit = kUnit});
    common::setUnitFormat(kUnit, w.letter);
    got.ident.assign(kIdentLength, ' ');
    series::DATOL(got, kUnit);
    fmtio::closeAllUnits();
  });
  FUZZ_CHECK(code == 0, "the run stopped:\n" + console.err());
  const std::string& out = console.out();
  // A series the writer cannot store is reported and left out of the file;
  // the session learns that beforehand from writerYearsFit.
  bool refused = out.find("not written") != std::string::npos;
  FUZZ_CHECK(series::writerYearsFit(s, w.request) != refused,
             "writerYearsFit disagrees with the writer:\n" + out);
  if (refused) {
    FUZZ_CHECK(got.count < 1, "a series reported as not written was written");
    return 0;
  }
  // A value the writer reports (asterisks, a marker, not a number) is not
  // expected back; the index writer's scaling is reported too.
  if (out.find("does not fit") != std::string::npos || out.find("not numbers") != std::string::npos)
    return 0;
  bool markerOrScale = out.find(" >> ") != std::string::npos;
  compare(w, s, got, markerOrScale);
  return 0;
}
