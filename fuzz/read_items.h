// Items of every type read from one internal record, as the input harnesses
// use them: the read of a format (or list-directed without one), the checks
// every read must pass (an outcome of 0 to 2 that IOSTAT agrees with, an
// error number for an error, CHARACTER items kept at their length).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fmtio/io.h"

namespace fuzzing {

struct ReadItem {
  enum Kind { Integer, Real, Double, Logical, Text, Short };
  ReadItem(Kind k, std::size_t textLength) : kind(k), length(textLength), s(textLength, ' ') {}
  Kind kind;
  std::size_t length;  // of the CHARACTER item, which a read must keep
  std::int32_t i = 0;
  float f = 0;
  double d = 0;
  fmtio::Logical l;
  std::string s;
  std::int16_t h = 0;
};

// Reads the items from the record with the format (list-directed when it is
// nullptr), checks the outcome, and returns it.
int readItems(std::string_view record, const fmtio::Format* format, std::vector<ReadItem>& items);

}  // namespace fuzzing
