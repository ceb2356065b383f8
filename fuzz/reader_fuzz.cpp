// DATOL on random files, for one format letter (FUZZ_LETTER, set when the
// target is built). Every series read must fit the Series record, the
// reading must end within as many calls as the file has lines (or, for a
// spreadsheet, columns), and every series written back with CMPWR must read
// again as the same series (one CMPWR reports as not written is left out).
//
// Input: the bytes of the file.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/tables.h"
#include "fmtio/io.h"
#include "fmtio/options.h"
#include "fmtio/unit.h"
#include "fuzz/fuzz_support.h"
#include "series/datol.h"
#include "series/series.h"
#include "series/writers.h"
#include "tests/support/console_script.h"

#ifndef FUZZ_LETTER
#error "FUZZ_LETTER names the format letter of the target"
#endif

namespace {

constexpr std::int32_t kIn = 11;
constexpr std::int32_t kOut = 12;
constexpr std::size_t kIdentLength = 8;

// What the console answers: the user format of "X" (twice, then no more
// data); the questions of the other letters take their defaults.
constexpr std::string_view kAnswers = "(10F8.3)\n25\n(8X,10F6.0)\n12\n\n\n\n";

struct Copy {
  std::string ident;
  std::int32_t firstYear;
  std::vector<float> values;
};

std::string describe(const Copy& c) {
  return "'" + c.ident + "' " + std::to_string(c.firstYear) +
         " n=" + std::to_string(c.values.size());
}

// The identification as a file line keeps it: NUL reads as blank.
std::string blanked(std::string ident) {
  std::replace(ident.begin(), ident.end(), '\0', ' ');
  return ident;
}

// Reads every series of the file into copies (kept when the run stops
// midway); each is written to the compact file too, unless CMPWR says it
// cannot be. A file cannot hold more series than it has records plus
// columns (a comma each at least); a tab is read as up to tabSize blanks.
void readAll(std::size_t records, std::size_t bytes, const testing_support::ConsoleScript& console,
             std::vector<Copy>& copies) {
  const auto tabSize = static_cast<std::size_t>(std::max(fmtio::runtimeOptions().tabSize, 1));
  fmtio::OPEN({.unit = kOut}, {.file = fuzzing::scratchPath("out"), .status = "REPLACE"});
  common::setUnitFormat(kIn, FUZZ_LETTER);
  series::Series s;
  for (std::size_t calls = 0;; ++calls) {
    FUZZ_CHECK(calls <= records + bytes * tabSize + 1,
               "more series than lines: the reading does not end");
    s.ident.assign(kIdentLength, ' ');
    series::DATOL(s, kIn);
    FUZZ_CHECK(s.ident.size() == kIdentLength, "identification resized");
    if (s.count < 1) break;
    FUZZ_CHECK(s.count <= series::kMaxValues, "count " + std::to_string(s.count));
    std::size_t before = console.out().size();
    series::CMPWR(s, kOut);
    if (console.out().find("not written", before) == std::string::npos)
      copies.push_back({blanked(s.ident), s.firstYear,
                        std::vector<float>(s.values.begin(), s.values.begin() + s.count)});
  }
  fmtio::closeAllUnits();
}

// Largest magnitude the compact fields scale to, as CMPWR takes it.
double rangeOf(const std::vector<float>& values) {
  double range = 1.0;
  for (float v : values)
    if (std::isfinite(v)) range = std::max({range, double{v}, -10.0 * v});
  return range;
}

void expectSame(const Copy& want, const series::Series& got) {
  std::string what = "wrote " + describe(want) + ", read back '" + got.ident + "' " +
                     std::to_string(got.firstYear) + " n=" + std::to_string(got.count);
  FUZZ_CHECK(got.count == static_cast<std::int32_t>(want.values.size()), what);
  FUZZ_CHECK(got.firstYear == want.firstYear, what);
  FUZZ_CHECK(blanked(got.ident) == want.ident, what);
  double tolerance = 1e-5 * rangeOf(want.values);
  for (std::size_t i = 0; i < want.values.size(); ++i) {
    double x = std::isfinite(want.values[i]) ? want.values[i] : 0.0;
    FUZZ_CHECK(std::fabs(got.values[i] - x) <= tolerance + 1e-6 * std::fabs(x),
               what + ": value " + std::to_string(i) + " " + std::to_string(x) + " read back " +
                   std::to_string(got.values[i]));
  }
}

// The compact file holds the series read, in order, and nothing else.
void readBack(const std::vector<Copy>& copies) {
  fmtio::OPEN({.unit = kOut}, {.file = fuzzing::scratchPath("out"), .status = "OLD"});
  common::setUnitFormat(kOut, 'C');
  series::resetReaders();
  series::Series s;
  for (const Copy& want : copies) {
    s.ident.assign(kIdentLength, ' ');
    series::DATOL(s, kOut);
    expectSame(want, s);
  }
  series::DATOL(s, kOut);
  FUZZ_CHECK(s.count < 1, "an extra series in the compact file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string path = fuzzing::scratchFile("in", bytes);
  std::vector<Copy> copies;
  {
    testing_support::ConsoleScript console{std::string(kAnswers)};
    common::setClock([] { return common::LocalTime{}; });
    console.run([&] {
      common::PROGID("FUZZ");
      series::resetReaders();
      fmtio::OPEN({.unit = kIn}, {.file = path, .status = "OLD"});
      readAll(fuzzing::recordCount(bytes), bytes.size(), console, copies);
    });
    FUZZ_CHECK(console.err().find("? ") == std::string::npos,
               "runtime error while reading:\n" + console.err());
  }
  // A run that stopped midway (too many text lines) closed the files.
  testing_support::ConsoleScript console;
  int code = console.run([&] { readBack(copies); });
  FUZZ_CHECK(code == 0, "reading back stopped:\n" + console.err());
  return 0;
}
