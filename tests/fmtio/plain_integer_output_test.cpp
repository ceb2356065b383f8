// The fast path of Iw output (no m, no plus sign) held to the general
// layout: Iw.1 asks for the same field through the general path, so both
// must give the same characters for every width and value, at the edges of
// each number of digits, of 32 and of 64 bits, and where the field is just
// too narrow for the digits or the sign.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "fmtio/edit_output.h"

namespace fmtio {
namespace {

// The buffer starts full of '?', so that a column the editor leaves
// unwritten shows instead of passing with what an earlier field left there.
std::string edit(int w, int m, std::int64_t value) {
  char buf[kMaxNumericField];
  std::memset(buf, '?', sizeof buf);
  const std::size_t n = editInteger(buf, Op::I, w, m, value, 8, OutputModes{});
  return std::string(buf, n) + ";";
}

std::vector<std::int64_t> edgeValues() {
  std::vector<std::int64_t> values = {0,
                                      std::numeric_limits<std::int64_t>::min(),
                                      std::numeric_limits<std::int64_t>::max(),
                                      std::numeric_limits<std::int32_t>::min(),
                                      std::numeric_limits<std::int32_t>::max(),
                                      4294967295,
                                      4294967296,
                                      -4294967295,
                                      -4294967296};
  // Every power of ten of 64 bits, 10^0 to 10^18, and its neighbours.
  for (std::int64_t p = 1;; p *= 10) {
    for (std::int64_t v : {p - 1, p, p + 1}) {
      values.push_back(v);
      values.push_back(-v);
    }
    if (p == 1000000000000000000) break;
  }
  return values;
}

TEST(PlainIntegerOutput, SameFieldAsTheGeneralLayout) {
  for (std::int64_t value : edgeValues())
    for (int w = 1; w <= 24; ++w)
      EXPECT_EQ(edit(w, kAbsent, value), edit(w, 1, value)) << "I" << w << " of " << value;
}

// A run of fields edited in one call (as a WRITE of an array edits them)
// gives each field as the general layout gives it alone: every value a
// decadal or compact field holds, and a stride over eight digits, in each
// width, from arrays of 1, 2, 4 and 8 bytes (the values each type holds).
template <class V>
std::vector<V> valuesOf(const std::vector<std::int64_t>& all) {
  std::vector<V> out;
  for (std::int64_t v : all)
    if (v >= std::numeric_limits<V>::min() && v <= std::numeric_limits<V>::max())
      out.push_back(static_cast<V>(v));
  return out;
}

template <class V>
int runDifferences(int w, const std::vector<V>& values) {
  std::vector<char> buf(values.size() * static_cast<std::size_t>(w) + kPlainIntegerRoom, '?');
  editPlainIntegers(buf.data(), w, reinterpret_cast<const char*>(values.data()), values.size(),
                    sizeof(V), static_cast<int>(sizeof(V)));
  int differences = 0;
  for (std::size_t k = 0; k < values.size(); ++k) {
    const std::string got(buf.data() + k * static_cast<std::size_t>(w),
                          static_cast<std::size_t>(w));
    const std::string want = edit(w, 1, values[k]);
    if (got + ";" != want && ++differences <= 3)
      ADD_FAILURE() << "I" << w << " of " << std::int64_t{values[k]} << " (" << sizeof(V)
                    << " bytes): " << got;
  }
  return differences;
}

TEST(PlainIntegerOutput, RunsOfFieldsAgreeWithTheGeneralLayout) {
  std::vector<std::int64_t> all = edgeValues();
  for (std::int64_t v = -100000000; v <= 100000000; v += 997) all.push_back(v);
  std::vector<std::int64_t> data;
  for (std::int64_t v = -99999; v <= 999999; ++v) data.push_back(v);
  int differences = 0;
  for (int w = 1; w <= 12; ++w) {
    differences += runDifferences(w, valuesOf<std::int8_t>(all));
    differences += runDifferences(w, valuesOf<std::int16_t>(all));
    differences += runDifferences(w, valuesOf<std::int32_t>(all));
    differences += runDifferences(w, valuesOf<std::int64_t>(all));
  }
  for (int w : {1, 2, 3, 4, 5, 6, 8})
    differences += runDifferences(w, valuesOf<std::int32_t>(data));
  EXPECT_EQ(differences, 0);
}

struct Row {
  int w;
  std::int64_t value;
  const char* want;
};

TEST(PlainIntegerOutput, FieldsAtTheirEdges) {
  const Row rows[] = {
      {1, -1, "*;"},
      {2, -1, "-1;"},
      {1, 9, "9;"},
      {1, 10, "*;"},
      {3, -99, "-99;"},
      {3, -100, "***;"},
      {6, 99999, " 99999;"},
      {6, -99999, "-99999;"},
      {6, 100000, "100000;"},
      {6, -100000, "******;"},
      {20, std::numeric_limits<std::int64_t>::min(), "-9223372036854775808;"},
      {19, std::numeric_limits<std::int64_t>::min(), "*******************;"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(edit(r.w, kAbsent, r.value), r.want) << "I" << r.w << " of " << r.value;
}

}  // namespace
}  // namespace fmtio
