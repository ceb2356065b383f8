// The fast path of real input for fields of plain digits and a point, held to the
// general parse: every row is read both ways, in both precisions and both
// blank modes, over a range of implied decimal places and scale factors,
// and must give the same status and the same bits (the sign of zero too).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fmtio/edit_input.h"
#include "fmtio/errors.h"

namespace fmtio {
namespace {

// Fields the fast path takes, and fields next to them that it must leave to
// the general parse: points, exponents, inner and trailing blanks, tabs,
// signs without digits, too many digits to be exact, fields cut short.
constexpr const char* kFields[] = {
    "   378",
    "       7",
    "        ",
    "      -7",
    "\t\t\t\t\t\t\t5",
    " \t \t \t 9",
    "\t      ",
    "       78",
    "        7",
    "         ",
    "   1\t",
    "\t",
    " ",
    "7",
    "x      1",
    "      \x80"
    "1",
    "  \xA0"
    "12",
    "\x09"
    "12",
    "  1403",
    "     0",
    "    -0",
    "  +999",
    " -9999",
    "999",
    "1",
    "",
    "      ",
    "-",
    "+",
    "  -  ",
    "\t 12",
    "  1 2",
    "  12 ",
    " 1.5",
    "  15.",
    "1e3",
    "  12-3",
    "  12+3",
    "  12d1",
    "--1",
    "+-1",
    "12a",
    "INF",
    "nan",
    "0000000123",
    "1234567",
    "12345678",
    "16777217",
    "-16777217",
    "123456789012345",
    "1234567890123456",
    "9007199254740993",
    "000000000000000000001",
    "99999999999999999999999",
    "-500.000",
    " 123.456",
    "0.001",
    " .5",
    "-.5",
    "5.",
    ".",
    "-.",
    " . ",
    "1.2.3",
    "1.5 ",
    "1 .5",
    "123456.7",
    "1234567.8",
    "0.000000000000000000000001",
    "12345678901234.5",
    "1234567890123456.7",
    "+.0",
    "-0.",
    "1.5e2",
    "1.5-2",
    "+1234567",
    "-9999999",
    "-12345678",
    "00000000",
    "-0000000",
    " 0000012",
    "\t-12",
    "  -1 ",
    "1-",
    "12/4",
    "   :",
};

constexpr int kPlaces[] = {0, 1, 2, 3, 7, 15, 22, 23, 40};
constexpr int kScales[] = {-30, -23, -3, -1, 0, 1, 2, 5, 22, 30};
constexpr BlankMode kModes[] = {BlankMode::Null, BlankMode::Zero};

template <class T>
void expectSameAsGeneral(const char* field, int d, int scale, BlankMode blank) {
  T fast = T(4711), general = T(4711);
  int fastStatus = readReal(field, d, scale, blank, fast);
  int generalStatus = readRealGeneral(field, d, scale, blank, general);
  ASSERT_EQ(fastStatus, generalStatus)
      << "field '" << field << "' d " << d << " scale " << scale << " bytes " << sizeof(T);
  EXPECT_EQ(std::memcmp(&fast, &general, sizeof(T)), 0)
      << "field '" << field << "' d " << d << " scale " << scale << " bytes " << sizeof(T)
      << ": fast " << fast << ", general " << general;
}

TEST(PlainDigitInput, SameValueAndStatusAsTheGeneralParse) {
  for (const char* field : kFields)
    for (int d : kPlaces)
      for (int scale : kScales)
        for (BlankMode blank : kModes) {
          expectSameAsGeneral<double>(field, d, scale, blank);
          expectSameAsGeneral<float>(field, d, scale, blank);
        }
}

// The word-wide path of a field inside its record: the bytes after the
// field (which it loads with the field and must mask away) are digits,
// blanks, a sign or a point, and must not change what the field reads.
constexpr const char* kAfterField[] = {"99999999",         "        ", "-.-.-.-.",
                                       "\t\t\t\t\t\t\t\t", "0",        "+"};

template <class T>
void expectInRecordSameAsGeneral(const char* field, const char* after, int d, int scale,
                                 BlankMode blank) {
  const std::string record = std::string(field) + after + "12345678";
  const std::string_view text = std::string_view(record).substr(0, std::strlen(field));
  T fast = T(4711), general = T(4711);
  int fastStatus = readRealInRecord(text, d, scale, blank, fast);
  int generalStatus = readRealGeneral(std::string(field), d, scale, blank, general);
  ASSERT_EQ(fastStatus, generalStatus) << "field '" << field << "' before '" << after << "' d " << d
                                       << " scale " << scale << " bytes " << sizeof(T);
  EXPECT_EQ(std::memcmp(&fast, &general, sizeof(T)), 0)
      << "field '" << field << "' before '" << after << "' d " << d << " scale " << scale
      << " bytes " << sizeof(T) << ": fast " << fast << ", general " << general;
}

TEST(PlainDigitInput, InsideTheRecordSameValueAndStatusAsTheGeneralParse) {
  for (const char* field : kFields)
    for (const char* after : kAfterField)
      for (int d : kPlaces)
        for (int scale : kScales)
          for (BlankMode blank : kModes) {
            expectInRecordSameAsGeneral<double>(field, after, d, scale, blank);
            expectInRecordSameAsGeneral<float>(field, after, d, scale, blank);
          }
}

struct ValueCase {
  const char* field;
  int d;
  int scale;
  double want;
};

// The decadal data lines' fields read with F6.2 and F6.3, and a scale factor.
constexpr ValueCase kValues[] = {
    {"   378", 2, 0, 3.78},     {"  1403", 3, 0, 1.403},  {"  -999", 2, 0, -9.99},
    {" -9999", 3, 0, -9.999},   {"    12", 0, 0, 12.0},   {"    12", 0, 2, 0.12},
    {"    12", 1, -2, 120.0},   {"     7", 15, 0, 7e-15}, {"     -0", 2, 0, -0.0},
    {"-500.000", 3, 0, -500.0}, {"  1.25", 3, 0, 1.25},   {"  1.25", 0, 1, 0.125},
    {"   .5", 2, 0, 0.5},
};

TEST(PlainDigitInput, ValuesOfDataFields) {
  for (const ValueCase& c : kValues) {
    double v = 0;
    ASSERT_EQ(readReal(c.field, c.d, c.scale, BlankMode::Null, v), 0) << c.field;
    EXPECT_EQ(v, c.want) << "field '" << c.field << "' d " << c.d << " scale " << c.scale;
    EXPECT_EQ(std::signbit(v), std::signbit(c.want)) << c.field;
  }
}

TEST(PlainDigitInput, BlanksAfterTheDigitsFollowTheBlankMode) {
  double bn = 0, bz = 0;
  ASSERT_EQ(readReal("  12 ", 0, 0, BlankMode::Null, bn), 0);
  ASSERT_EQ(readReal("  12 ", 0, 0, BlankMode::Zero, bz), 0);
  EXPECT_EQ(bn, 12.0);
  EXPECT_EQ(bz, 120.0);
}

TEST(PlainDigitInput, SignWithoutDigitsIsAnError) {
  float v = 1;
  EXPECT_EQ(readReal("   -", 2, 0, BlankMode::Null, v), kErrIllegalChar);
  EXPECT_EQ(readReal("+", 0, 0, BlankMode::Zero, v), kErrIllegalChar);
}

}  // namespace
}  // namespace fmtio
