// Array items run through a repeated data descriptor without a walk per
// element; each row is transferred once as one array item and once as the
// same elements given one by one as scalars, which take the walk every time,
// and both must give the same record (output), the same values (input) and
// the same outcome: reversion inside the array, groups, controls between
// repeats, blanks, signs, BZ/BN, scale factors, fields cut by the record's
// end and errors in the middle of a run.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "fmtio/format.h"
#include "fmtio/io.h"

namespace fmtio {
namespace {

struct InputCase {
  const char* format;
  const char* record;
  int count;  // elements read
};

constexpr InputCase kInputs[] = {
    {"(10F6.2)", "   378  1403    -5  +999     0      -9999  12 3  1.5e2", 10},
    {"(10F6.2)", "   378  14", 10},
    {"(10F6.2)", "   378  14", 3},
    {"(BZ,5F4.1)", "  1 2 3  -4 5 6 7 8 9 0", 5},
    {"(BN,5F4.1)", "  1 2 3  -4 5 6 7 8 9 0", 5},
    {"(2P,4F5.0)", "   12  -34 1.25    7", 4},
    {"(-3P,4F5.2)", "   12  -34 1.25    7", 4},
    {"(3F4.0)", "   1   2   3   4   5   6   7", 7},
    {"(2(F3.0,1X),F2.0)", "12 34 5678 91 23 45", 8},
    {"(4F3.0)", "  1 2x  3  4", 4},
    {"(I4,3F4.0)", "1950   1   2   3", 4},
    {"(4F5.2)", "  1.5 -2.2  333  4e1", 4},  // the run ends at the record's end
    {"(4F5.2)", "  1.5 -2.2  333  4e", 4},   // its last field cut by it
    {"(4F5.2)", "  1.5 -2.2  333", 4},       // its last field past it
    {"(4E8.2,F3.0)", "  1.5E+3 -2.25D-2     7E1 +.5e+00 12", 5},
    {"(3D6.1,3G6.1)", "  1d-1  -3.0   +50 1.5e3   1 2   -7", 6},
    {"(BN,4F5.1)", " 1 2  3 4   -5 6 +  7", 4},
    {"(BZ,4F5.1)", " 1 2  3 4   -5 6 +  7", 4},
    {"(1P,4F6.2)", "  12.5 -3e2     7  1.25", 4},
    {"(-2P,4E7.1)", " 1.5e2    -3     7 2.5D-1", 4},
    {"(4F4.1)", " 1.2 3.4x5.6 7.8", 4},  // an error in the middle of the run
    {"(4F4.1)", " 1.2 3.4 - . 7.8", 4},  // a sign without digits
    {"(4F4.1)", "   +   . 1..2inf", 4},
    {"(4F5.1)", " Inf  NaN -inf  1.0", 4},
    {"(4F30.1)", "         123456789012345678901", 1},
    {"(F4.1,3F4.1)", " 1.2 3.4 5.6 7.8 9.1 2.3 4.5", 7},  // reversion inside the array
    {"(2X,3F3.1,T2,F2.0)", "  1.12.23.3 4", 5},
    {"(3F0.1)", "123", 3},
    {"(10I6)", "   378  1403    -5  +999     0      -9999  12 3   1.5", 10},
    {"(BZ,5I3)", " 1 2 3-4  5 6", 5},
    {"(3I2)", "99-9 1-", 3},
    {"(5I1)", "12345", 5},
    {"(4I3,:,'x')", "  1  2  3  4", 4},
    {"(3(I2,1X))", " 1  2  3  4  5  6", 6},
    {"(2I4/2I4)", "   1   2   3   4", 4},
};

// Reads the record with the format into n elements of T, either as one
// array item or element by element; the outcome and iostat.
template <class T>
int readInto(const InputCase& c, bool asArray, std::vector<T>& values, std::int32_t& ios) {
  values.assign(static_cast<std::size_t>(c.count), T(-7));
  Format format{c.format};
  std::string record = c.record;
  Statement st =
      Statement::read(Internal(record, {.iostat = &ios, .err = true, .end = true}), &format);
  if (asArray)
    st.item(inputItem(std::span<T>(values)));
  else
    for (T& v : values) st.item(inputItem(v));
  return st.end();
}

template <class T>
void expectSameInput(const InputCase& c) {
  std::vector<T> array, scalars;
  std::int32_t arrayIos = -1, scalarIos = -1;
  int arrayOutcome = readInto(c, true, array, arrayIos);
  int scalarOutcome = readInto(c, false, scalars, scalarIos);
  const std::string row =
      std::string(c.format) + " '" + c.record + "' bytes " + std::to_string(sizeof(T));
  EXPECT_EQ(arrayOutcome, scalarOutcome) << row;
  EXPECT_EQ(arrayIos, scalarIos) << row;
  ASSERT_EQ(array.size(), scalars.size()) << row;
  EXPECT_EQ(std::memcmp(array.data(), scalars.data(), array.size() * sizeof(T)), 0) << row;
}

TEST(RepeatRun, ArrayInputIsReadAsElementByElement) {
  for (const InputCase& c : kInputs) {
    expectSameInput<double>(c);
    expectSameInput<float>(c);
    expectSameInput<std::int32_t>(c);
    expectSameInput<std::int16_t>(c);
  }
}

struct OutputCase {
  const char* format;
  std::vector<double> values;
};

const OutputCase kOutputs[] = {
    {"(10F8.3)", {1.5, -2.25, 0, -0.0, 1e9, 123.456, -99999.9, 0.0005, 7, 8, 9, 10, 11}},
    {"(13I6)", {1, -99999, 999999, 1234567, 0, -5, 42, 7, 8, 9, 10, 11, 12, 13, 14}},
    {"(SP,5I4)", {1, -2, 0, 999, 1000, 6}},
    {"(3I5.3)", {1, -2, 0, 12345, 6}},
    {"(2P,3F8.2)", {1.5, -0.25, 12345, 4}},
    {"(2(I3,1X),'|')", {1, 2, 3, 4, 5}},
    {"(4I3,:,' more')", {1, 2, 3, 4}},
    {"(3F6.1/2F6.1)", {1, 2, 3, 4, 5, 6, 7}},
    {"(I2,4I3)", {12, 345, 6, 7, 8000, 9}},
    {"(4E12.4)", {1.5, -2e-30, 6.02e23, 0, 5}},
    {"(100I5)", std::vector<double>(79, -1234)},  // the run ends at the record's last column
    {"(100I5)", std::vector<double>(81, 1234)},   // one field past it: an error
    {"(100I5)", std::vector<double>(90, 1234)},   // the run would start fields past it
    {"(10X,100I5)", std::vector<double>(79, 5)},
    {"(I0,3I0)", {0, -7, 123456, 9}},
    {"(3I12)", {-1, 2147483647, -2147483648.0, 0, 17}},  // wider than one word of blanks
    {"(2I16,I17)", {-1, 9, -99, 1234567, 5}},
    {"(4I9,2X,4I1)", {-12345678, 123456789, -1, 0, 1, 2, 3, -4, 5}},
    {"(5I1)", {0, 9, -1, 10, 3, 4}},
};

// Writes the values as elements of T with the format, either as one array
// item or element by element; the records written and the outcome.
template <class T>
std::string writeFrom(const OutputCase& c, bool asArray, int& outcome) {
  std::vector<T> values;
  // Integers narrower than a value wrap (through 64 bits, never a cast of
  // an out-of-range double).
  for (double v : c.values)
    if constexpr (std::is_integral_v<T>)
      values.push_back(static_cast<T>(static_cast<std::int64_t>(v)));
    else
      values.push_back(static_cast<T>(v));
  Format format{c.format};
  std::string record(400, '#');
  std::int32_t ios = 0;
  Statement st = Statement::write(Internal(record, {.iostat = &ios, .err = true}), &format);
  if (asArray)
    st.item(outputItem(std::span<const T>(values)));
  else
    for (const T& v : values) st.item(outputItem(v));
  outcome = st.end() * 100000 + ios;
  return record;
}

template <class T>
void expectSameOutput(const OutputCase& c) {
  int arrayOutcome = 0, scalarOutcome = 0;
  std::string array = writeFrom<T>(c, true, arrayOutcome);
  std::string scalars = writeFrom<T>(c, false, scalarOutcome);
  EXPECT_EQ(array, scalars) << c.format << " bytes " << sizeof(T);
  EXPECT_EQ(arrayOutcome, scalarOutcome) << c.format << " bytes " << sizeof(T);
}

TEST(RepeatRun, ArrayOutputIsWrittenAsElementByElement) {
  for (const OutputCase& c : kOutputs) {
    const std::string_view f = c.format;
    if (f.find('F') != std::string_view::npos || f.find('E') != std::string_view::npos) {
      expectSameOutput<double>(c);
      expectSameOutput<float>(c);
    } else {
      expectSameOutput<std::int32_t>(c);
      expectSameOutput<std::int64_t>(c);
      expectSameOutput<std::int16_t>(c);
      expectSameOutput<std::int8_t>(c);
    }
  }
}

TEST(RepeatRun, TheRecordsOfAnArrayAreTheOnesTheFormatAsksFor) {
  const std::int32_t values[] = {1, -2, 30, 400, 5};
  std::string record(12, '#');
  ASSERT_EQ(WRITE(Internal(record), FMT("(5I2)"), std::span<const std::int32_t>(values)), 0);
  EXPECT_EQ(record, " 1-230** 5  ");
}

}  // namespace
}  // namespace fmtio
