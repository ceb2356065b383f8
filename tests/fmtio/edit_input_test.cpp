// Input editing of numeric and logical fields.
#include "fmtio/edit_input.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

#include "fmtio/errors.h"

namespace fmtio {
namespace {

constexpr BlankMode BN = BlankMode::Null;
constexpr BlankMode BZ = BlankMode::Zero;
constexpr int kBad = kErrIllegalChar;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int64_t kUnchanged = 4711;

const char* modeName(BlankMode blank) { return blank == BN ? "BN" : "BZ"; }

struct IntegerCase {
  const char* field;
  int base;
  BlankMode blank;
  int bytes;
  std::int64_t want;
  int status;
};

std::ostream& operator<<(std::ostream& os, const IntegerCase& c) {
  return os << "field '" << c.field << "' base " << c.base << ' ' << modeName(c.blank) << " bytes "
            << c.bytes;
}

// Rows of I fields (base 10).
constexpr IntegerCase kDecimalCases[] = {
    {"  42", 10, BN, 4, 42, 0},
    {"  -17", 10, BN, 4, -17, 0},
    {"+5", 10, BN, 4, 5, 0},
    {"\t 12", 10, BN, 4, 12, 0},
    {"", 10, BN, 4, 0, 0},
    {"    ", 10, BZ, 4, 0, 0},
    {"1 2 ", 10, BN, 4, 12, 0},
    {"1 2 ", 10, BZ, 4, 1020, 0},
    {"  1 2", 10, BZ, 4, 102, 0},
    {"- 5", 10, BN, 4, -5, 0},
    {"- ", 10, BZ, 4, 0, 0},
    {"12a4", 10, BN, 4, kUnchanged, kBad},
    {"1.0", 10, BN, 4, kUnchanged, kBad},
    {"--1", 10, BN, 4, kUnchanged, kBad},
    {"1-", 10, BN, 4, kUnchanged, kBad},
    {"-", 10, BN, 4, kUnchanged, kBad},
    {"+  ", 10, BN, 4, kUnchanged, kBad},
    {"FF", 10, BN, 4, kUnchanged, kBad},
};

// Rows at and beyond the limits of each integer size: never wrapped.
constexpr IntegerCase kRangeCases[] = {
    {"127", 10, BN, 1, 127, 0},
    {"128", 10, BN, 1, kUnchanged, kBad},
    {"-128", 10, BN, 1, -128, 0},
    {"-129", 10, BN, 1, kUnchanged, kBad},
    {"32767", 10, BN, 2, 32767, 0},
    {"32768", 10, BN, 2, kUnchanged, kBad},
    {"2147483647", 10, BN, 4, 2147483647, 0},
    {"2147483648", 10, BN, 4, kUnchanged, kBad},
    {"-2147483648", 10, BN, 4, -2147483647 - 1, 0},
    {"-2147483649", 10, BN, 4, kUnchanged, kBad},
    {"4294967296", 10, BN, 4, kUnchanged, kBad},
    {"000000000000000000000042", 10, BN, 4, 42, 0},
    {"9223372036854775807", 10, BN, 8, INT64_MAX, 0},
    {"9223372036854775808", 10, BN, 8, kUnchanged, kBad},
    {"-9223372036854775808", 10, BN, 8, INT64_MIN, 0},
    {"18446744073709551616", 10, BN, 8, kUnchanged, kBad},
    {"99999999999999999999999", 10, BN, 8, kUnchanged, kBad},
};

// Rows of B, O and Z fields; patterns come back sign-extended from the item's size.
constexpr IntegerCase kPatternCases[] = {
    {"101", 2, BN, 4, 5, 0},
    {" 1 1", 2, BZ, 4, 5, 0},
    {"102", 2, BN, 4, kUnchanged, kBad},
    {"01111111", 2, BN, 1, 127, 0},
    {"11111111", 2, BN, 1, -1, 0},
    {"100000000", 2, BN, 1, kUnchanged, kBad},
    {"777", 8, BN, 2, 511, 0},
    {"377", 8, BN, 1, -1, 0},
    {"400", 8, BN, 1, kUnchanged, kBad},
    {"8", 8, BN, 4, kUnchanged, kBad},
    {"7fFF", 16, BN, 2, 32767, 0},
    {"FFFF", 16, BN, 2, -1, 0},
    {"80", 16, BN, 1, -128, 0},
    {"ffffffff", 16, BN, 4, -1, 0},
    {"1ffffffff", 16, BN, 4, kUnchanged, kBad},
    {"FFFFFFFFFFFFFFFF", 16, BN, 8, -1, 0},
    {"10000000000000000", 16, BN, 8, kUnchanged, kBad},
    {"1G", 16, BN, 4, kUnchanged, kBad},
    {"-1", 16, BN, 4, kUnchanged, kBad},
    {"+1", 2, BN, 4, kUnchanged, kBad},
};

void checkIntegers(const IntegerCase* rows, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    const IntegerCase& c = rows[i];
    std::int64_t got = kUnchanged;
    EXPECT_EQ(readInteger(c.field, c.base, c.blank, c.bytes, got), c.status) << c;
    EXPECT_EQ(got, c.want) << c;
  }
}

TEST(IntegerInput, SignsDigitsAndBlanks) { checkIntegers(kDecimalCases, std::size(kDecimalCases)); }

TEST(IntegerInput, RangeOfEachSizeIsCheckedNotWrapped) {
  checkIntegers(kRangeCases, std::size(kRangeCases));
}

TEST(IntegerInput, BinaryOctalHexPatterns) {
  checkIntegers(kPatternCases, std::size(kPatternCases));
}

struct RealCase {
  const char* field;
  int d;
  int scale;
  BlankMode blank;
  double want;
  int status;
};

std::ostream& operator<<(std::ostream& os, const RealCase& c) {
  return os << "field '" << c.field << "' d " << c.d << " scale " << c.scale << ' '
            << modeName(c.blank);
}

constexpr double kUnset = -4711.0;

// Rows of F, E, D, G fields read as REAL*8.
constexpr RealCase kRealCases[] = {
    {"  1234", 2, 0, BN, 12.34, 0},
    {"  12.3", 2, 0, BN, 12.3, 0},
    {"1 2 3", 2, 0, BN, 1.23, 0},
    {"1 2 3", 2, 0, BZ, 102.03, 0},
    {"12345", 2, 0, BN, 123.45, 0},
    {"12", 4, 0, BN, 0.0012, 0},
    {"00012", 2, 0, BN, 0.12, 0},
    {"", 2, 0, BN, 0.0, 0},
    {"      ", 2, 0, BZ, 0.0, 0},
    {"-0.5", 0, 0, BN, -0.5, 0},
    {"+.5", 0, 0, BN, 0.5, 0},
    {"5.", 3, 0, BN, 5.0, 0},
    {"1.5 ", 0, 0, BZ, 1.5, 0},
    {"1.5E3", 0, 0, BN, 1500.0, 0},
    {"1.5e-3", 0, 0, BN, 0.0015, 0},
    {"1.5D-3", 0, 0, BN, 0.0015, 0},
    {"1.5d+3", 0, 0, BN, 1500.0, 0},
    {"1.5Q2", 0, 0, BN, 150.0, 0},
    {"1.5+3", 0, 0, BN, 1500.0, 0},
    {"1.5-3", 0, 0, BN, 0.0015, 0},
    {"1.5E 3", 0, 0, BN, 1500.0, 0},
    {"1.5 E3", 0, 0, BN, 1500.0, 0},
    {"1.5E 3", 0, 0, BZ, 1500.0, 0},
    {"1.5E3 ", 0, 0, BZ, 1.5e30, 0},
    {"1.5E- 3", 0, 0, BN, 0.0015, 0},
    {"15E1", 1, 0, BN, 15.0, 0},
    {"-15E-1", 1, 0, BN, -0.15, 0},
    {"1.5", 0, 2, BN, 0.015, 0},
    {"15", 1, 2, BN, 0.015, 0},
    {"1.5", 0, -1, BN, 15.0, 0},
    {"1.5E1", 0, 2, BN, 15.0, 0},
    {"0.1", 0, 0, BN, 0.1, 0},
    {"123456789012345678901234567890", 0, 0, BN, 1.2345678901234568e29, 0},
    {"1.7976931348623157e308", 0, 0, BN, DBL_MAX, 0},
    {"4.9406564584124654e-324", 0, 0, BN, 4.9406564584124654e-324, 0},
};

// Rows that are not numbers, and exponents beyond the range of a double.
constexpr RealCase kRealErrorCases[] = {
    {"1.2.3", 0, 0, BN, kUnset, kBad},
    {"1,5", 0, 0, BN, kUnset, kBad},
    {"1.5x", 0, 0, BN, kUnset, kBad},
    {"1.5E", 0, 0, BN, kUnset, kBad},
    {"1.5E+", 0, 0, BN, kUnset, kBad},
    {"1.5E3E2", 0, 0, BN, kUnset, kBad},
    {"E5", 0, 0, BN, kUnset, kBad},
    {".", 0, 0, BN, kUnset, kBad},
    {"+", 0, 0, BN, kUnset, kBad},
    {"--1", 0, 0, BN, kUnset, kBad},
    {"+-1", 0, 0, BN, kUnset, kBad},
    {"1e400", 0, 0, BN, kUnset, kBad},
    {"-1e400", 0, 0, BN, kUnset, kBad},
    {"1E999999999999999999999", 0, 0, BN, kUnset, kBad},
    {"1", 0, -400, BN, kUnset, kBad},
    {"1e-400", 0, 0, BN, 0.0, 0},
    {"1E-999999999999999999999", 0, 0, BN, 0.0, 0},
    {"0E999999999999999999999", 0, 0, BN, 0.0, 0},
};

// Rows of infinity and not-a-number (NaN is marked by want = 1 and checked with isnan).
constexpr RealCase kSpecialCases[] = {
    {"INF", 0, 0, BN, kInf, 0},           {"  inf  ", 0, 0, BN, kInf, 0},
    {"-Infinity", 0, 0, BN, -kInf, 0},    {"+INFINITY", 0, 0, BN, kInf, 0},
    {"INFINITE", 0, 0, BN, kUnset, kBad}, {"IN", 0, 0, BN, kUnset, kBad},
    {"NONE", 0, 0, BN, kUnset, kBad},     {"N", 0, 0, BN, kUnset, kBad},
    {"NAN(", 0, 0, BN, kUnset, kBad},     {"NAN(1 2)", 0, 0, BN, kUnset, kBad},
};

void checkReals(const RealCase* rows, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    const RealCase& c = rows[i];
    double got = kUnset;
    EXPECT_EQ(readReal(c.field, c.d, c.scale, c.blank, got), c.status) << c;
    EXPECT_EQ(got, c.want) << c;
  }
}

TEST(RealInput, ImpliedPointExponentsAndScaleFactor) {
  checkReals(kRealCases, std::size(kRealCases));
}

TEST(RealInput, IllegalCharactersAndOverflowAreErrors) {
  checkReals(kRealErrorCases, std::size(kRealErrorCases));
}

TEST(RealInput, InfinityForms) { checkReals(kSpecialCases, std::size(kSpecialCases)); }

TEST(RealInput, NotANumberForms) {
  for (const char* field : {"NaN", "nan", "-NAN", " NaN(0x1F) ", "nan(quiet_1)"}) {
    double d = 0;
    float f = 0;
    EXPECT_EQ(readReal(field, 0, 0, BN, d), 0) << field;
    EXPECT_EQ(readReal(field, 0, 0, BN, f), 0) << field;
    EXPECT_TRUE(std::isnan(d)) << field;
    EXPECT_TRUE(std::isnan(f)) << field;
  }
}

TEST(RealInput, UnderflowKeepsTheSign) {
  double d = 1;
  float f = 1;
  EXPECT_EQ(readReal("-1e-400", 0, 0, BN, d), 0);
  EXPECT_EQ(readReal("-1e-50", 0, 0, BN, f), 0);
  EXPECT_TRUE(d == 0 && std::signbit(d));
  EXPECT_TRUE(f == 0 && std::signbit(f));
}

// Beyond the digits kept, what remains still decides the rounding: the exact
// halfway point between 1 and the next double rounds to even, anything above
// it rounds up, however far out the excess digit is.
TEST(RealInput, LongMantissaRoundsCorrectly) {
  const std::string half = "1.00000000000000011102230246251565404236316680908203125";
  const double up = std::nextafter(1.0, 2.0);
  struct {
    std::string field;
    double want;
  } rows[] = {
      {half, 1.0},
      {half + std::string(900, '0'), 1.0},
      {half + std::string(900, '0') + "1", up},
      {std::string(1000, '0') + "1.5", 1.5},
      {"0." + std::string(1000, '0') + "15E1002", 15.0},
  };
  for (const auto& row : rows) {
    double got = 0;
    EXPECT_EQ(readReal(row.field, 0, 0, BN, got), 0) << row.field.size() << " chars";
    EXPECT_EQ(got, row.want) << row.field.size() << " chars";
  }
}

struct FloatCase {
  const char* field;
  int d;
  BlankMode blank;
  float want;
  int status;
};

std::ostream& operator<<(std::ostream& os, const FloatCase& c) {
  return os << "field '" << c.field << "' d " << c.d << ' ' << modeName(c.blank);
}

// Rows read as REAL*4: rounded once from the decimal text to float.
constexpr FloatCase kFloatCases[] = {
    // Just above the halfway point between 1 and the next float: rounding to
    // double first would land on the halfway point and then round down to 1.
    {"1.00000005960464477550", 0, BN, 1.00000012f, 0},
    {"0.1", 0, BN, 0.1f, 0},
    {"1 2 3", 2, BZ, 102.03f, 0},
    {"1234", 2, BN, 12.34f, 0},
    {"3.4028235e38", 0, BN, FLT_MAX, 0},
    {"3.5e38", 0, BN, -1.0f, kBad},
    {"1e39", 0, BN, -1.0f, kBad},
    {"1e-40", 0, BN, 1e-40f, 0},
    {"1e-50", 0, BN, 0.0f, 0},
    {"-inf", 0, BN, -std::numeric_limits<float>::infinity(), 0},
    {"1.5f2", 0, BN, -1.0f, kBad},
};

TEST(RealInput, SinglePrecisionRoundsOnce) {
  for (const FloatCase& c : kFloatCases) {
    float got = -1.0f;
    EXPECT_EQ(readReal(c.field, c.d, 0, c.blank, got), c.status) << c;
    EXPECT_EQ(got, c.want) << c;
  }
}

TEST(LogicalInput, TrueOnlyForTAfterBlanksAndPeriod) {
  struct {
    const char* field;
    bool want;
  } rows[] = {
      {"T", true},    {"t", true},        {".TRUE.", true}, {"  .t", true}, {"\tTRUE", true},
      {"F", false},   {".FALSE.", false}, {"", false},      {"   ", false}, {"X", false},
      {". T", false}, {"..T", false},     {" 1", false},
  };
  for (const auto& row : rows)
    EXPECT_EQ(readLogical(row.field), row.want) << "'" << row.field << "'";
}

}  // namespace
}  // namespace fmtio
