// The fast path of real input for fields of plain digits and a point, held to the
// general parse: every row is read both ways, in both precisions and both
// blank modes, over a range of implied decimal places and scale factors,
// and must give the same status and the same bits (the sign of zero too).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

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

// A run of fields read by readRealFields, the word-wide path for fields of
// up to eight characters: every field of the run must read as the general
// parse reads it alone, whatever stands beside it: the field first, in the
// middle or last of the run, its neighbours blanks, digits or the field
// again, and after the run nothing (the record ends with it, a record
// shorter than a word too) or bytes that may look like more digits. The run
// stops at the first field in error, with that error.
constexpr const char* kAfterRun[] = {"", "9", "1234567", "        ", "-.-.", "\t", "12345678"};
constexpr int kRunPlaces[] = {0, 2, 3, 7, 23};
constexpr int kRunScales[] = {-23, -1, 0, 2, 22};
constexpr std::size_t kRunLength = 3;

template <class T>
void expectRunSameAsGeneral(const std::string& record, std::size_t w, int d, int scale,
                            BlankMode blank) {
  std::array<T, kRunLength> fast, general;
  fast.fill(T(4711));
  general.fill(T(4711));
  int fastStatus = 0, generalStatus = 0;
  const std::size_t done =
      readRealFields(record, w, kRunLength, d, scale, blank, fast.data(), sizeof(T), fastStatus);
  std::size_t want = 0;
  while (want < kRunLength && generalStatus == 0) {
    generalStatus = readRealGeneral(record.substr(want * w, w), d, scale, blank, general[want]);
    ++want;
  }
  const std::string where = "record '" + record + "' w " + std::to_string(w) + " d " +
                            std::to_string(d) + " scale " + std::to_string(scale) +
                            (blank == BlankMode::Zero ? " BZ" : " BN") + " bytes " +
                            std::to_string(sizeof(T));
  ASSERT_EQ(done, want) << where;
  ASSERT_EQ(fastStatus, generalStatus) << where;
  const std::size_t read = generalStatus == 0 ? done : done - 1;  // the fields with a value
  for (std::size_t k = 0; k < read; ++k) {
    EXPECT_EQ(std::memcmp(&fast[k], &general[k], sizeof(T)), 0)
        << where << " field " << k << ": fast " << fast[k] << ", general " << general[k];
  }
}

TEST(PlainDigitInput, EachFieldOfARunReadsAsTheGeneralParseReadsItAlone) {
  for (const char* text : kFields) {
    const std::string field = text;
    const std::size_t w = field.size();
    if (w == 0) continue;
    for (const std::string& neighbour : {std::string(w, ' '), std::string(w, '7'), field})
      for (std::size_t place = 0; place < kRunLength; ++place)
        for (const char* after : kAfterRun) {
          std::string record;
          for (std::size_t k = 0; k < kRunLength; ++k) record += k == place ? field : neighbour;
          record += after;
          for (int d : kRunPlaces)
            for (int scale : kRunScales)
              for (BlankMode blank : kModes) {
                expectRunSameAsGeneral<double>(record, w, d, scale, blank);
                expectRunSameAsGeneral<float>(record, w, d, scale, blank);
              }
        }
  }
}

// Every field of one to four characters made of blanks, digits, signs, a
// point, a tab, an exponent letter and another letter (the fields read by
// place tables), in the middle of a run of digit fields: as the general
// parse reads it alone.
TEST(PlainDigitInput, EveryShortFieldOfARunReadsAsTheGeneralParseReadsItAlone) {
  constexpr std::string_view kAlphabet = " 019-+.\tEx";
  std::vector<std::string> fields = {""};
  for (std::size_t w = 1; w <= 4; ++w) {
    std::vector<std::string> longer;
    for (const std::string& f : fields)
      for (char c : kAlphabet) longer.push_back(f + c);
    fields = std::move(longer);
    for (const std::string& field : fields) {
      const std::string neighbour(w, '5');
      const std::string record = neighbour + field + neighbour;
      for (int d : {0, 2})
        for (BlankMode blank : kModes) {
          expectRunSameAsGeneral<double>(record, w, d, 0, blank);
          expectRunSameAsGeneral<float>(record, w, d, -1, blank);
        }
    }
  }
}

// Fields of five to eight characters drawn at random from blanks, digits,
// signs, a point, a tab and letters, most of them blanks and digits (the
// fields read by place tables), in the middle of a run of digit fields: as
// the general parse reads each alone.
TEST(PlainDigitInput, RandomWideFieldsOfARunReadAsTheGeneralParseReadsThemAlone) {
  constexpr std::string_view kOthers = "-+.\tEx";
  std::mt19937 random(20261207);
  for (int trial = 0; trial < 40000; ++trial) {
    const std::size_t w = 5 + random() % 4;
    std::string field;
    const std::size_t blanks = random() % (w + 1);
    for (std::size_t i = 0; i < w; ++i) {
      const unsigned pick = random() % 16;
      if (pick == 0)
        field += kOthers[random() % kOthers.size()];
      else if (pick == 1)
        field += ' ';
      else
        field += i < blanks ? ' ' : static_cast<char>('0' + random() % 10);
    }
    const std::string neighbour(w, '5');
    const std::string record = neighbour + field + neighbour;
    const int d = static_cast<int>(random() % 4);
    const BlankMode blank = random() % 2 ? BlankMode::Null : BlankMode::Zero;
    expectRunSameAsGeneral<double>(record, w, d, 0, blank);
    expectRunSameAsGeneral<float>(record, w, d, 0, blank);
  }
}

// Integer fields: the fast path for blanks and digits is held to the digit
// loop, in every size (its range), both blank modes and the other bases.
TEST(PlainDigitInput, IntegerFieldsReadAsTheDigitLoopReadsThem) {
  constexpr const char* kIntegerFields[] = {"1950",
                                            "   7",
                                            "    ",
                                            "  -7",
                                            " +12",
                                            "  1 2",
                                            "1 2 ",
                                            "\t 12",
                                            "  12\t",
                                            "12345678",
                                            "99999999",
                                            "  32767",
                                            "  32768",
                                            " 128",
                                            " 127",
                                            "-128",
                                            "    0",
                                            "00000000",
                                            "1",
                                            "0",
                                            "7a",
                                            "  ",
                                            " ",
                                            "123456789",
                                            "00000000042",
                                            "  - ",
                                            "FF",
                                            "  1.",
                                            "\x80"
                                            "12"};
  for (const char* field : kIntegerFields)
    for (int bytes : {1, 2, 4, 8, 3})
      for (int base : {10, 16, 8})
        for (BlankMode blank : kModes) {
          std::int64_t fast = 4711, general = 4711;
          ASSERT_EQ(readInteger(field, base, blank, bytes, fast),
                    readIntegerGeneral(field, base, blank, bytes, general))
              << "field '" << field << "' base " << base << " bytes " << bytes;
          EXPECT_EQ(fast, general) << "field '" << field << "' base " << base << " bytes " << bytes;
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
