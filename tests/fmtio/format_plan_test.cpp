// A WRITE run by its format's straight plan writes what the walk writes:
// each row is written once by the plan and once with plans switched off
// (every format walked), into an internal record and onto a file, and both
// must give the same bytes and the same outcome. The rows mix signs, zero,
// fields too narrow (asterisks), A fields shorter and longer than the item,
// X, groups, trailing literals, reversion, records shorter than the fields,
// and formats no plan takes.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "fmtio/format.h"
#include "fmtio/io.h"
#include "fmtio/options.h"
#include "fmtio/unit.h"
#include "tests/support/console_script.h"

namespace fmtio {
namespace {

// The item lists the rows write.
enum class Items { IdentYearValues, Reals, Mixed, ManyValues, Lines, LinesThenAReal };

struct PlanCase {
  const char* format;
  std::size_t length;  // of the internal record
  Items items;
};

const PlanCase kCases[] = {
    {"(A,I4,10I6)", 80, Items::IdentYearValues},
    {"(A8,I4,10I6)", 80, Items::IdentYearValues},
    {"(A3,I4,10I6)", 80, Items::IdentYearValues},
    {"(A10,I4,10I6)", 80, Items::IdentYearValues},
    {"(A,I2,10I3)", 80, Items::IdentYearValues},
    {"(A,I4,10I6,' end')", 80, Items::IdentYearValues},
    {"(A,I4,12I6,' end')", 120, Items::IdentYearValues},
    {"(A,I4,10I6,2(I2,'x'))", 80, Items::IdentYearValues},
    {"(A,I4,10I6,:,' x')", 80, Items::IdentYearValues},
    {"(A,I4,5I6)", 80, Items::IdentYearValues},
    {"(A,2X,I4,5(I6,1X))", 80, Items::IdentYearValues},
    {"(A,I4,2(5I6),' |')", 80, Items::IdentYearValues},
    {"(' id ',A,I4,10I6.4)", 90, Items::IdentYearValues},
    {"(A,I4,10I6,10X)", 80, Items::IdentYearValues},
    {"(A,I4,10I6,10X,'.')", 90, Items::IdentYearValues},
    {"(SP,A,I4,10I6)", 80, Items::IdentYearValues},
    {"(1X,A,T3,I4,10I6)", 80, Items::IdentYearValues},
    {"(A,I4,2(2(I6)),6I6)", 80, Items::IdentYearValues},
    {"(A,I4,10I0)", 80, Items::IdentYearValues},
    {"(A,I4,10F6.2)", 80, Items::IdentYearValues},
    {"(A,I4,10I6)", 72, Items::IdentYearValues},
    {"(A,I4,10I6)", 71, Items::IdentYearValues},
    {"(A,I4,10I6)", 30, Items::IdentYearValues},
    {"(A,I4,10I6,' end')", 74, Items::IdentYearValues},
    {"(10F8.0,F6.2)", 90, Items::Reals},
    {"(10F8.2,F6.2,'~')", 100, Items::Reals},
    {"(10F6.2,F4.1)", 80, Items::Reals},
    {"(10F3.1,F2.0)", 80, Items::Reals},
    {"(5(F7.3,1X),5F4.0,F10.4)", 80, Items::Reals},
    {"(10F8.0)", 80, Items::Reals},
    {"(2P,10F8.0,F6.2)", 90, Items::Reals},
    {"(10E10.3,F6.2)", 120, Items::Reals},
    {"(10F8.0,I4)", 90, Items::Reals},
    {"(10F8.0,F6.2)", 40, Items::Reals},
    {"(A,I3,I13,F6.2,F5.1,I3)", 40, Items::Mixed},
    {"(A5,1X,I3,'|',I13,'|',F6.2,F5.1,I3)", 40, Items::Mixed},
    {"(A1,I3,I13,F6.2,F5.1,I3,' tail',1X,'z')", 60, Items::Mixed},
    {"(A,I3,I13,F6.2,F5.1,I3,/,'next')", 60, Items::Mixed},
    {"(A,I3,I13,F6.2,F5.1)", 60, Items::Mixed},
    {"(6A)", 60, Items::Mixed},
    {"(A,I3,I13,F6.2,F5.1,I3)", 12, Items::Mixed},
    {"(10I8)", 80, Items::ManyValues},
    {"(4I5,' x')", 40, Items::ManyValues},
    {"(3X,6I4)", 40, Items::ManyValues},
    {"(5I3)", 20, Items::ManyValues},
    {"(25I4)", 100, Items::ManyValues},
    {"(30I3,' end')", 100, Items::ManyValues},
    {"(10F8.0)", 90, Items::ManyValues},
    {"(I4,F6.2)", 40, Items::ManyValues},
    {"(2(I3),'|')", 40, Items::ManyValues},
    {"(10I8)", 10, Items::ManyValues},
    {"(A,I4,10I6)", 80, Items::Lines},
    {"(A,I4,10I6)", 500, Items::Lines},
    {"(2X,A,I4,10I6,' |')", 80, Items::Lines},
    {"(A,I4,5I6)", 80, Items::Lines},
    {"(A,I4,10I6)", 80, Items::LinesThenAReal},
    {"(A,I4,2(5I6))", 80, Items::Lines},
    {"(A,I4,10F6.1)", 80, Items::Lines},
    {"('no data')", 40, Items::Lines},
    {"(2X,'no data')", 40, Items::ManyValues},
};

// Writes the row's items to the target (an internal record or a unit's control list).
template <class Target>
int writeItems(const PlanCase& c, const Target& target) {
  const Format format{c.format};
  const std::array<std::int32_t, 10> values = {0, -1, 99999,   -99999, 123456,
                                               5, -5, 1000000, 7,      -2147483647};
  const std::array<double, 10> reals = {0,    -0.0,   1.5,    -2.25,     999.995,
                                        1e10, -0.004, 0.0051, 12345.678, -7};
  const std::string ident = "ABC12345";
  std::array<std::int64_t, 25> many{};
  for (std::size_t i = 0; i < many.size(); ++i)
    many[i] = (i % 2 == 0 ? 1 : -1) * static_cast<std::int64_t>(i * i * i * 37);
  switch (c.items) {
    case Items::IdentYearValues:
      return WRITE(target, format, ident, 1950, std::span<const std::int32_t>(values));
    case Items::Reals: return WRITE(target, format, std::span<const double>(reals), 3.14159f);
    case Items::Mixed:
      return WRITE(target, format, std::string("AB"), std::int16_t{-7}, std::int64_t{123456789012},
                   -1.25, 0.5f, std::int8_t{-3});
    case Items::ManyValues: return WRITE(target, format, std::span<const std::int64_t>(many));
    case Items::Lines:
    case Items::LinesThenAReal: {
      // Three lines of ident, year and values as one list, the last line
      // short; or two whole lines and then a real where the I6 fields are.
      const std::array<std::int32_t, 3> years = {1950, 1960, 1970};
      const std::span<const std::int32_t> all(values);
      std::vector<Item> items;
      for (std::size_t i = 0; i < years.size(); ++i)
        items.insert(items.end(), {outputItem(ident), outputItem(years[i]),
                                   outputItem(i < 2 ? all : all.first(3))});
      const double real = 2.5;
      if (c.items == Items::LinesThenAReal) items.back() = outputItem(real);
      return WRITE(target, format, ItemList{items});
    }
  }
  return -1;
}

class FormatPlanTest : public ::testing::Test {
 protected:
  void TearDown() override { setRuntimeOptions(saved_); }
  // Runs every row with plans on or off and the given lead zero option:
  // per row its internal record and outcome, then the file's bytes.
  std::vector<std::string> runAll(bool walkEveryFormat, bool noLeadZero) {
    RuntimeOptions options = saved_;
    options.walkEveryFormat = walkEveryFormat;
    options.noLeadZero = noLeadZero;
    setRuntimeOptions(options);
    std::vector<std::string> got;
    testing_support::TempDir dir;
    OpenSpec spec;
    spec.file = dir.file("plan.txt");
    spec.status = "REPLACE";
    spec.blank = "ZERO";
    EXPECT_EQ(OPEN(Control::of(13), spec), 0);
    for (const PlanCase& c : kCases) {
      std::string record(c.length, '#');
      std::int32_t ios = -1, fileIos = -1;
      const int rc = writeItems(c, Internal(record, {.iostat = &ios, .err = true}));
      const int fileRc = writeItems(c, Control{.unit = 13, .iostat = &fileIos, .err = true});
      got.push_back(record + ";" + std::to_string(rc) + " " + std::to_string(ios) + " " +
                    std::to_string(fileRc) + " " + std::to_string(fileIos));
    }
    EXPECT_EQ(CLOSE(Control::of(13)), 0);
    got.push_back(dir.read("plan.txt"));
    return got;
  }
  RuntimeOptions saved_ = runtimeOptions();
};

TEST_F(FormatPlanTest, APlannedWriteGivesTheBytesAndOutcomeOfTheWalk) {
  for (bool noLeadZero : {false, true}) {
    const std::vector<std::string> planned = runAll(false, noLeadZero);
    const std::vector<std::string> walked = runAll(true, noLeadZero);
    ASSERT_EQ(planned.size(), walked.size());
    for (std::size_t i = 0; i < std::size(kCases); ++i)
      EXPECT_EQ(planned[i], walked[i]) << kCases[i].format << " length " << kCases[i].length
                                       << (noLeadZero ? " noleadzero" : "");
    EXPECT_EQ(planned.back(), walked.back())
        << "the file's bytes" << (noLeadZero ? " noleadzero" : "");
  }
}

TEST(FormatPlan, OnlySimpleFormatsHaveOneWithEachRepeatSpeltOut) {
  const struct {
    const char* format;
    bool usable;
    std::size_t steps;
  } rows[] = {
      {"(A,I4,10I6)", true, 3},
      {"(A8,I4,10F6.2)", true, 3},
      {"(A,2(I2,'x'),3X)", true, 6},
      {"('(',I2,'F',I1,'.0)')", true, 5},
      {"(I4.2)", true, 1},
      {"(300I4)", true, 1},
      {"(3X,10I8,' x')", true, 3},
      {"(128(I2,'x'))", true, 256},
      {"(129(I2,'x'))", false, 0},
      {"(SP,I4)", false, 0},
      {"(2P,F6.2)", false, 0},
      {"(BZ,I4)", false, 0},
      {"(2(2(I2)))", false, 0},
      {"(A,T3,I4)", false, 0},
      {"(I0)", false, 0},
      {"(F6)", false, 0},
      {"(E10.3)", false, 0},
      {"(I4/I4)", false, 0},
      {"(I4,:,'x')", false, 0},
      {"(I4", false, 0},
  };
  for (const auto& row : rows) {
    const Format format{row.format};
    EXPECT_EQ(format.plan().usable, row.usable) << row.format;
    EXPECT_EQ(format.plan().steps.size(), row.steps) << row.format;
  }
}

TEST(FormatPlan, OnlyAPlanWithoutGroupsReverts) {
  const struct {
    const char* format;
    bool reverts;
  } rows[] = {
      {"(10I8)", true},       {"(3X,6I4,' x')", true}, {"(10F8.0)", true},
      {"(A,I4,10I6)", true},  {"(2(I3))", false},      {"(I4,2(I3))", false},
      {"('no data')", false}, {"(2A)", true},          {"(I4,T2,I3)", false},
  };
  for (const auto& row : rows)
    EXPECT_EQ(Format(row.format).plan().revertsToStart, row.reverts) << row.format;
}

}  // namespace
}  // namespace fmtio
