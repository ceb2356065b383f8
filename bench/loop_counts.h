// The loop counts of the formatted I/O benchmark, read from bench/loops.txt
// (or the file named by RINGEDIT_BENCH_LOOPS), the one place that the C++
// benchmark, the gfortran peer and compare-gfortran take them from.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bench {

struct LoopCounts {
  int reals = 0;          // REAL*4 values written, then read back
  int integers = 0;       // INTEGER*4 values written (whole records of 13)
  int internalReads = 0;  // internal list-directed READs
};

// The counts file; aborts when it is missing or lacks a count, so that a
// benchmark never runs loops the peer does not.
inline LoopCounts loadLoopCounts() {
  const char* path = std::getenv("RINGEDIT_BENCH_LOOPS");
  if (path == nullptr) path = RINGEDIT_BENCH_LOOPS_FILE;
  std::FILE* f = std::fopen(path, "r");
  if (f == nullptr) std::abort();
  LoopCounts counts;
  struct Slot {
    const char* name;
    int* count;
  };
  const Slot slots[] = {{"reals", &counts.reals},
                        {"integers", &counts.integers},
                        {"internalReads", &counts.internalReads}};
  char line[200], name[64];
  int n = 0;
  while (std::fgets(line, sizeof line, f) != nullptr) {
    if (line[0] == '#' || std::sscanf(line, "%63s %d", name, &n) != 2) continue;
    for (const Slot& slot : slots)
      if (std::strcmp(slot.name, name) == 0) *slot.count = n;
  }
  std::fclose(f);
  for (const Slot& slot : slots)
    if (*slot.count <= 0) std::abort();
  return counts;
}

inline const LoopCounts& loopCounts() {
  static const LoopCounts counts = loadLoopCounts();
  return counts;
}

}  // namespace bench
