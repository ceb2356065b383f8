// Output editing: tables by descriptor family, run through compiled formats
// such as "SP,2P,F10.3" whose P, SP and SS entries set the modes of the one
// data entry. Results end in ';' so that trailing blanks show. The rows of
// data/output_gfortran.txt are fields written by another compiler's runtime
// where both agree; the tables here hold the edge cases of each form, the
// cases where this runtime chooses otherwise and the forms only it accepts.
#include "fmtio/edit_output.h"

#include <gtest/gtest.h>

#include <charconv>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "fmtio/format.h"

namespace fmtio {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The data entry of a format and the modes its control entries set.
struct Descriptor {
  FormatEntry entry;
  OutputModes modes;
  bool ok = false;
};

Descriptor compile(const std::string& format, OutputModes modes) {
  Descriptor out;
  out.modes = modes;
  Format f("(" + format + ")");
  if (f.status() != 0) return out;
  for (const FormatEntry& e : f.entries()) {
    setOutputMode(out.modes, e);
    if (isDataOp(e.op)) {
      out.entry = e;
      out.ok = true;
      break;
    }
  }
  return out;
}

std::string field(const char* text, std::size_t n) { return std::string(text, n) + ";"; }

std::string writeInteger(const std::string& format, std::int64_t value, int bytes = 4,
                         OutputModes modes = {}) {
  Descriptor d = compile(format, modes);
  if (!d.ok) return "bad format";
  char buf[kMaxNumericField];
  return field(buf, editInteger(buf, d.entry.op, d.entry.w, d.entry.d, value, bytes, d.modes));
}

std::string writeReal(const std::string& format, double value, OutputModes modes = {}) {
  Descriptor d = compile(format, modes);
  if (!d.ok) return "bad format";
  const FormatEntry& e = d.entry;
  int exponentDigits = e.e == kAbsent ? 2 : e.e;  // as the walk supplies it
  char buf[kMaxNumericField];
  return field(buf, editReal(buf, e.op, e.family, e.w, e.d, exponentDigits, value, d.modes));
}

std::string writeLogical(const std::string& format, bool value) {
  Descriptor d = compile(format, {});
  if (!d.ok) return "bad format";
  char buf[kMaxNumericField];
  return field(buf, editLogical(buf, d.entry.w, value));
}

struct IntegerRow {
  const char* format;
  int bytes;
  std::int64_t value;
  bool upper;  // -hex_uppercase
  const char* want;
};

// B, O and Z show the unsigned bit pattern of the item's bytes, never a sign.
// The first entry of each format against modes with a plus sign and scale 1:
// P, SP and SS set their mode and leave the other; nothing else sets any.
TEST(OutputModes, OnlyScaleAndSignEntriesSetThem) {
  struct Row {
    const char* format;
    bool isMode;
    int scale;
    bool plusSign;
  } rows[] = {
      {"-2P", true, -2, true},  {"0P", true, 0, true},   {"SS", true, 1, false},
      {"SP", true, 1, true},    {"S", true, 1, false},   {"X", false, 1, true},
      {"F8.2", false, 1, true}, {"'P'", false, 1, true}, {"BZ", false, 1, true},
  };
  for (const Row& r : rows) {
    Format f("(" + std::string(r.format) + ")");
    ASSERT_EQ(f.status(), 0) << r.format;
    OutputModes modes;
    modes.scale = 1;
    modes.plusSign = true;
    EXPECT_EQ(setOutputMode(modes, f.entries().front()), r.isMode) << r.format;
    EXPECT_EQ(modes.scale, r.scale) << r.format;
    EXPECT_EQ(modes.plusSign, r.plusSign) << r.format;
  }
}

TEST(EditOutput, IntegerFieldsKeepWidthDigitsAndSign) {
  const IntegerRow rows[] = {
      {"I3.4", 4, 5, false, "***;"},
      {"I4.4", 4, -5, false, "****;"},
      {"I5.0", 4, 0, false, "     ;"},
      {"SP,I4.0", 4, 0, false, "    ;"},
      {"SP,I0", 4, -5, false, "-5;"},
      {"SP,I2", 4, 9, false, "+9;"},
      {"SP,I1", 4, 9, false, "*;"},
      {"SS,I2", 4, 9, false, " 9;"},
      {"Z4", 4, 255, false, "  ff;"},
      {"Z4", 4, 255, true, "  FF;"},
      {"Z0", 4, 0xbeef, false, "beef;"},
      {"Z0", 4, 0xbeef, true, "BEEF;"},
      {"Z4", 2, -1, false, "ffff;"},
      {"Z4", 4, -1, false, "****;"},
      {"Z0", 8, -1, false, "ffffffffffffffff;"},
      {"SP,Z4", 4, 255, false, "  ff;"},
      {"SP,B4", 1, 5, false, " 101;"},
      {"O0", 1, -8, false, "370;"},
      {"Z4.0", 4, 0, false, "    ;"},
      {"B5.5", 4, 3, false, "00011;"},
  };
  for (const auto& r : rows) {
    OutputModes modes;
    modes.hexUppercase = r.upper;
    EXPECT_EQ(writeInteger(r.format, r.value, r.bytes, modes), r.want)
        << r.format << " of " << r.value << " in " << r.bytes << " bytes, upper " << r.upper;
  }
}

struct RealRow {
  const char* format;
  double value;
  const char* want;
};

void expectRows(const RealRow* first, const RealRow* last, OutputModes modes = {}) {
  for (const RealRow* r = first; r != last; ++r)
    EXPECT_EQ(writeReal(r->format, r->value, modes), r->want)
        << r->format << " of " << std::hexfloat << r->value << std::defaultfloat << " (" << r->value
        << ")";
}

TEST(EditOutput, FixedFieldsRoundAndPlaceTheLeadingZero) {
  const RealRow rows[] = {
      {"F6.2", 3.14159, "  3.14;"}, {"F4.2", 0.5, "0.50;"},     {"F3.2", 0.5, ".50;"},
      {"F6.2", 1234.5, "******;"},  {"F3.0", 0.4, " 0.;"},      {"F1.0", 0.3, "*;"},
      {"F2.0", 0.3, "0.;"},         {"F2.1", 0.04, ".0;"},      {"F0.1", 0.04, ".0;"},
      {"F5.1", 0.05, "  0.1;"},     {"F5.1", 999.96, "*****;"}, {"F6.1", 999.96, "1000.0;"},
  };
  expectRows(std::begin(rows), std::end(rows));
}

// A negative value whose field shows only zeros is written without a minus.
TEST(EditOutput, NegativeValuesThatRoundToZeroHaveNoSign) {
  const RealRow rows[] = {
      {"F5.2", -0.001, " 0.00;"},     {"F8.3", -0.0, "   0.000;"},    {"SP,F5.2", -0.001, "+0.00;"},
      {"F3.0", -0.4, " 0.;"},         {"F0.1", -0.04, ".0;"},         {"F4.2", -0.004, "0.00;"},
      {"E10.3", -0.0, " 0.000E+00;"}, {"G10.3", -0.0, "  0.00    ;"}, {"F5.2", -0.006, "-0.01;"},
  };
  expectRows(std::begin(rows), std::end(rows));
}

TEST(EditOutput, AtMostSixteenSignificantDigitsThenZeros) {
  const RealRow rows[] = {
      {"F30.3", 123456789012345678901.0, "     123456789012345700000.000;"},
      {"F35.1", 1e30, "  1000000000000000000000000000000.0;"},
      {"F20.1", 12345678901234567.0, " 12345678901234570.0;"},
      {"F25.17", 1.0 / 3.0, "      0.33333333333333330;"},
      {"F30.17", 0.1, "           0.10000000000000000;"},
      {"F30.20", 0.1, "        0.10000000000000000000;"},
      {"E30.20", 1.0 / 3.0, "    0.33333333333333330000E+00;"},
      {"ES30.20", 2.0 / 3.0, "    6.66666666666666600000E-01;"},
      {"G30.20", 1.0 / 3.0, "    0.33333333333333330000    ;"},
  };
  expectRows(std::begin(rows), std::end(rows));
}

TEST(EditOutput, NoLeadZeroOptionDropsTheZeroOfFFieldsOnly) {
  const RealRow rows[] = {
      {"F4.2", 0.5, " .50;"},        {"F5.2", 0.0, "  .00;"},  {"F2.0", 0.0, "0.;"},
      {"F5.1", -0.25, "  -.2;"},     {"F5.1", 1.25, "  1.2;"}, {"G10.3", 0.5, "  .500    ;"},
      {"E10.3", 0.5, " 0.500E+00;"},
  };
  OutputModes modes;
  modes.noLeadZero = true;
  expectRows(std::begin(rows), std::end(rows), modes);
}

TEST(EditOutput, ScaleFactorsAtTheLimits) {
  const RealRow rows[] = {
      {"2000P,F10.1", 1.0, "**********;"},    {"2000P,F0.1", 1.0, "*;"},
      {"-2000P,F10.3", 1e300, "     0.000;"}, {"324P,F6.1", 5e-324, "   4.9;"},
      {"-3P,E12.3", 1.5, "************;"},    {"5P,E12.3", 1.5, "************;"},
      {"E10.0", 1.5, "**********;"},          {"G10.0", 1.5, "**********;"},
      {"-2P,E12.3", 1.5, "   0.002E+03;"},    {"-2P,E12.3", 0.0, "   0.000E+00;"},
      {"3P,ES12.3", 1.5, "   1.500E+00;"},    {"-1P,G10.3", 1.5, "  1.50    ;"},
  };
  expectRows(std::begin(rows), std::end(rows));
}

TEST(EditOutput, ExponentLettersOfDAndQForms) {
  const RealRow rows[] = {
      {"E12.4D2", 1234.56, "  0.1235D+04;"},  {"ES12.4D2", 1234.56, "  1.2346D+03;"},
      {"EN12.3D2", 1234.56, "   1.235D+03;"}, {"EN12.3D2", 0.5, " 500.000D-03;"},
      {"G12.4D2", 1234.56, "   1235.    ;"},  {"G12.4D2", 1.5e7, "  0.1500D+08;"},
      {"E12.4D2", 1e105, "  0.1000+106;"},    {"D12.3E3", 1e105, "  0.100D+106;"},
      {"Q12.4", 1234.56, "  0.1235Q+04;"},    {"Q0.3", -1234.56, "-.123Q+04;"},
      {"1P,Q12.4", 1234.56, "  1.2346Q+03;"}, {"Q10.4", 1e-120, "0.1000-119;"},
      {"E10.3E1", 1e10, "**********;"},       {"E12.4E0", 1e-300, " 0.1000E-299;"},
  };
  expectRows(std::begin(rows), std::end(rows));
}

// E0.d, ES0.d, EN0.d and G0.d written in formats: the fewest columns.
TEST(EditOutput, MinimalWidthOfExponentAndGeneralForms) {
  const RealRow rows[] = {
      {"E0.3", 1.5, ".150E+01;"},        {"E0.3", -0.00123, "-.123E-02;"},
      {"E0.3E3", 1.5e20, ".150E+021;"},  {"E0.3", 0.0, ".000E+00;"},
      {"ES0.3", -1234.5, "-1.234E+03;"}, {"SP,ES0.1", 2.0, "+2.0E+00;"},
      {"EN0.2", 12346.0, "12.35E+03;"},  {"G0.3", 1.5, "1.50;"},
      {"G0.3", 123456.0, ".123E+06;"},   {"1P,E0.2", 31.4, "3.14E+01;"},
  };
  expectRows(std::begin(rows), std::end(rows));
}

TEST(EditOutput, NotANumberAndInfinity) {
  const RealRow rows[] = {
      {"F10.3", kNaN, "       NaN;"},  {"F10.3", -kNaN, "       NaN;"},
      {"F10.3", -kInf, "      -INF;"}, {"SP,F10.3", kInf, "      +INF;"},
      {"F3.1", kInf, "INF;"},          {"F3.1", -kInf, "***;"},
      {"SP,F3.1", kInf, "***;"},       {"F2.1", kNaN, "**;"},
      {"SP,F3.1", kNaN, "NaN;"},       {"E12.4", -kInf, "        -INF;"},
      {"G10.3", kNaN, "       NaN;"},  {"F0.2", -kInf, "-INF;"},
      {"ES4.1", kInf, " INF;"},
  };
  expectRows(std::begin(rows), std::end(rows));
}

// Minimal widths called directly: no blanks, no optional 0.
TEST(EditOutput, MinimalWidthOfOtherRealForms) {
  struct Row {
    Op op;
    double value;
    const char* want;
  };
  const Row rows[] = {
      {Op::E, 0.5, ".500E+00;"},  {Op::ES, -0.5, "-5.000E-01;"}, {Op::G, 0.5, ".500;"},
      {Op::G, 1e10, ".100E+11;"}, {Op::G, 12.0, "12.0;"},        {Op::EN, 1e4, "10.000E+03;"},
  };
  for (const auto& r : rows) {
    char buf[kMaxNumericField];
    std::size_t n = editReal(buf, r.op, r.op, 0, 3, 2, r.value, {});
    EXPECT_EQ(field(buf, n), r.want) << static_cast<int>(r.op) << " w=0 of " << r.value;
  }
}

// One row of data/output_gfortran.txt: FORMAT|TYPE|VALUE|EXPECTED|
struct GfortranRow {
  std::string format, type, value, want;
  int line = 0;
};

std::vector<GfortranRow> readGfortranRows() {
  std::vector<GfortranRow> rows;
  std::ifstream in(std::string(RINGEDIT_SOURCE_DIR) + "/tests/fmtio/data/output_gfortran.txt");
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    if (text.empty() || text[0] == '#') continue;
    std::vector<std::string> parts;
    std::istringstream split(text);
    for (std::string part; std::getline(split, part, '|');) parts.push_back(part);
    if (parts.size() != 4) parts.assign(4, "malformed");
    rows.push_back({parts[0], parts[1], parts[2], parts[3] + ";", line});
  }
  return rows;
}

std::string writeGfortranRow(const GfortranRow& r) {
  const std::string& v = r.value;
  const char* end = v.data() + v.size();
  if (r.type[0] == 'I') {
    std::int64_t i = 0;
    std::from_chars(v.data(), end, i);
    OutputModes modes;
    modes.hexUppercase = true;  // that runtime writes A-F
    return writeInteger(r.format, i, r.type[1] - '0', modes);
  }
  if (r.type == "R4") {
    float f = 0;
    std::from_chars(v.data(), end, f);
    return writeReal(r.format, f);
  }
  if (r.type == "R8") {
    double x = 0;
    std::from_chars(v.data(), end, x);
    return writeReal(r.format, x);
  }
  if (r.type == "L4") return writeLogical(r.format, v == "T");
  return "unknown type " + r.type;
}

TEST(EditOutput, AgreesWithGfortranRows) {
  std::vector<GfortranRow> rows = readGfortranRows();
  ASSERT_GE(rows.size(), 150u) << "data/output_gfortran.txt missing or short";
  for (const auto& r : rows)
    EXPECT_EQ(writeGfortranRow(r), r.want)
        << "line " << r.line << ": " << r.format << " of " << r.type << " " << r.value;
}

}  // namespace
}  // namespace fmtio
