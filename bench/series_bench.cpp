// Throughput of the series readers and writers on a whole file: a 20 MB
// (RINGEDIT_BENCH_MEGABYTES) decadal measurement file read series by series with DATOL and written
// in compact format with CMPWR, and that compact file read back and written in the decadal format
// with TRRW. Both cases report bytes_per_second of the 20 MB decadal file (read in the first,
// written in the second) and compact_bytes_per_second of the compact file (written, read). The
// files go to a fresh directory under the system's temporary directory (TMPDIR), removed at the
// end.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/tables.h"
#include "fmtio/io.h"
#include "fmtio/unit.h"
#include "series/datol.h"
#include "series/writers.h"

namespace {

// The decadal file's size: 20 MB, or RINGEDIT_BENCH_MEGABYTES (the quick
// run under ctest).
std::size_t fileBytes() {
  const char* megabytes = std::getenv("RINGEDIT_BENCH_MEGABYTES");
  const long n = megabytes != nullptr ? std::atol(megabytes) : 20;
  return static_cast<std::size_t>(n > 0 ? n : 1) * 1'000'000;
}
constexpr int kValuesPerSeries = 500;
constexpr std::int32_t kInputUnit = 11;
constexpr std::int32_t kOutputUnit = 12;

// The benchmark's files and their sizes, made once.
class BenchFiles {
 public:
  BenchFiles() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "ringedit-series-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern;
    writeDecadal();
  }
  ~BenchFiles() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  std::int64_t size(const char* name) const {
    return static_cast<std::int64_t>(std::filesystem::file_size(path(name)));
  }

 private:
  // Series of 500 ring widths in hundredths, with the stop marker 999, until
  // the file holds 20 MB.
  void writeDecadal() const {
    std::FILE* f = std::fopen(path("decadal.rwl").c_str(), "wb");
    if (f == nullptr) std::abort();
    std::size_t bytes = 0;
    std::uint32_t x = 12345;
    const std::size_t target = fileBytes();
    for (int no = 1; bytes < target; ++no) {
      int first = 1000 + (no * 37) % 900;
      int year = first, room = 10 - first % 10;
      for (int i = 0; i <= kValuesPerSeries; year += room, room = 10) {
        bytes += std::fprintf(f, "B%06d %4d", no % 1000000, year);
        for (int k = 0; k < room && i <= kValuesPerSeries; ++k, ++i) {
          x = x * 1103515245u + 12345u;
          bytes += std::fprintf(f, "%6u", i == kValuesPerSeries ? 999u : 20u + (x >> 16) % 400u);
        }
        bytes += std::fprintf(f, "\r\n");
      }
    }
    std::fclose(f);
  }
  std::filesystem::path dir_;
};

const BenchFiles& files() {
  static BenchFiles f;
  return f;
}

void openUnit(std::int32_t unit, const std::string& path, const char* status) {
  fmtio::OpenSpec spec;
  spec.file = path;
  spec.status = status;
  fmtio::OPEN(fmtio::Control::of(unit), spec);
}

// Reads every series of `from` (format letter) and writes it to `to`.
std::int64_t convert(const std::string& from, char letter, const std::string& to,
                     void (*write)(series::Series&, std::int32_t)) {
  common::PROGID("EDIT TIME SERIES");
  series::resetReaders();
  openUnit(kInputUnit, from, "OLD");
  openUnit(kOutputUnit, to, "REPLACE");
  common::setUnitFormat(kInputUnit, letter);
  static series::Series s;
  std::int64_t values = 0;
  for (;;) {
    series::DATOL(s, kInputUnit);
    if (s.count < 1) break;
    values += s.count;
    write(s, kOutputUnit);
  }
  fmtio::CLOSE(fmtio::Control::of(kInputUnit));
  fmtio::CLOSE(fmtio::Control::of(kOutputUnit));
  return values;
}

void writeCompact(series::Series& s, std::int32_t unit) { series::CMPWR(s, unit); }
void writeHundredths(series::Series& s, std::int32_t unit) { series::TRRW(s, unit, "MW"); }

void reportSizes(benchmark::State& state, std::int64_t decadal, std::int64_t compact,
                 std::int64_t values) {
  state.SetBytesProcessed(state.iterations() * decadal);
  state.counters["compact_bytes_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations() * compact),
                         benchmark::Counter::kIsRate, benchmark::Counter::kIs1024);
  state.counters["values"] = static_cast<double>(values);
}

void decadalToCompact(benchmark::State& state) {
  const BenchFiles& f = files();
  std::int64_t values = 0;
  for (auto _ : state)
    values = convert(f.path("decadal.rwl"), 'M', f.path("compact.rwm"), writeCompact);
  reportSizes(state, f.size("decadal.rwl"), f.size("compact.rwm"), values);
}

void compactToDecadal(benchmark::State& state) {
  const BenchFiles& f = files();
  convert(f.path("decadal.rwl"), 'M', f.path("source.rwm"), writeCompact);
  std::int64_t values = 0;
  for (auto _ : state)
    values = convert(f.path("source.rwm"), 'C', f.path("decadal-out.rwl"), writeHundredths);
  reportSizes(state, f.size("decadal-out.rwl"), f.size("source.rwm"), values);
}

BENCHMARK(decadalToCompact)->Unit(benchmark::kMillisecond);
BENCHMARK(compactToDecadal)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
