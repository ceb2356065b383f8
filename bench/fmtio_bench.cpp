// Throughput of the formatted I/O runtime on the loops the program lives on:
// writing and reading decade-style records, and taking apart short lines
// with list-directed internal reads.
//
// Run alone, or through bench/compare-gfortran, which runs the same loops
// compiled with gfortran beside it. The loop counts come from bench/loops.txt
// (loop_counts.h). Each case reports bytes_per_second or items_per_second;
// the files go to the directory in RINGEDIT_BENCH_DIR (default: the system's
// temporary directory).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/loop_counts.h"
#include "fmtio/io.h"
#include "fmtio/unit.h"

namespace {

std::string benchFile(const char* name) {
  const char* dir = std::getenv("RINGEDIT_BENCH_DIR");
  std::filesystem::path base = dir != nullptr ? dir : std::filesystem::temp_directory_path();
  return (base / name).string();
}

void openFile(int unit, const std::string& path, const char* status) {
  fmtio::OpenSpec spec;
  spec.file = path;
  spec.status = status;
  fmtio::OPEN(fmtio::Control::of(unit), spec);
}

// WRITE of the REAL*4 values with (10F8.3), ten per record.
void writeReals(benchmark::State& state) {
  const int reals = bench::loopCounts().reals;
  std::string path = benchFile("ringedit-bench-reals.txt");
  for (auto _ : state) {
    openFile(20, path, "REPLACE");
    float v[10];
    for (int i = 0; i < reals; i += 10) {
      for (int j = 0; j < 10; ++j) v[j] = static_cast<float>((i + j) % 9973) * 0.125f - 500.0f;
      fmtio::WRITE(20, FMT("(10F8.3)"), std::span<const float>(v));
    }
    fmtio::CLOSE(fmtio::Control::of(20));
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(reals / 10) * 82);
}

// READ of that file back with the same format.
void readReals(benchmark::State& state) {
  const int reals = bench::loopCounts().reals;
  std::string path = benchFile("ringedit-bench-reals.txt");
  double sum = 0;
  for (auto _ : state) {
    openFile(21, path, "OLD");
    float v[10];
    for (int i = 0; i < reals; i += 10) {
      fmtio::READ(21, FMT("(10F8.3)"), std::span<float>(v));
      sum += v[0];
    }
    fmtio::CLOSE(fmtio::Control::of(21));
  }
  benchmark::DoNotOptimize(sum);
  state.SetBytesProcessed(state.iterations() * std::int64_t(reals / 10) * 82);
}

// Internal list-directed READs of an INTEGER*4 and a REAL*4.
void internalListReads(benchmark::State& state) {
  const int reads = bench::loopCounts().internalReads;
  std::string line = "  1950  1.234";
  std::int64_t total = 0;
  for (auto _ : state) {
    for (int i = 0; i < reads; ++i) {
      std::int32_t year = 0;
      float value = 0;
      line[5] = static_cast<char>('0' + i % 10);
      fmtio::READ(fmtio::Internal(std::string_view(line)), fmtio::LIST, year, value);
      total += year;
    }
  }
  benchmark::DoNotOptimize(total);
  state.SetItemsProcessed(state.iterations() * reads);
}

// WRITE of the INTEGER*4 values with (13I6), in whole records.
void writeIntegers(benchmark::State& state) {
  const int integers = bench::loopCounts().integers;
  std::string path = benchFile("ringedit-bench-integers.txt");
  for (auto _ : state) {
    openFile(22, path, "REPLACE");
    std::int32_t k[13];
    int i = 0;
    for (; i + 13 <= integers; i += 13) {
      for (int j = 0; j < 13; ++j) k[j] = (i + j) % 199999 - 99999;
      fmtio::WRITE(22, FMT("(13I6)"), std::span<const std::int32_t>(k));
    }
    fmtio::CLOSE(fmtio::Control::of(22));
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(integers / 13) * 80);
}

BENCHMARK(writeReals)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(readReals)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(internalListReads)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(writeIntegers)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
