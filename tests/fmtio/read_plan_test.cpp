// A READ run by its format's plan reads what the walk reads: each row is
// read once by the plan and once with plans switched off (every format
// walked), from an internal record and from a file, and both must give the
// same values (every byte of every item) and the same outcome and IOSTAT.
// The rows mix signs, blanks, BN/BZ (the file is opened with BLANK='ZERO'),
// A fields shorter and longer than the item, X and literals, groups,
// records shorter than the fields (padded, or an error with PAD='NO'),
// reversion to the next record (an end of file for an internal record), bad
// fields in the middle of a run, items the plan does not take, and formats
// no plan takes.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
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

// The item lists the rows read.
enum class Items {
  IdentYearValues,
  Reals,
  Floats,
  Doubles,
  Mixed,
  ManyValues,
  Line,
  Names,
  Unplanned
};

struct ReadCase {
  const char* format;
  const char* record;  // a second record after a '|'
  Items items;
};

const ReadCase kCases[] = {
    {"(A,I4,10F6.2)", "RCUV15811320    90    80    88   107   129    94    79    70    83    75",
     Items::IdentYearValues},
    {"(A,I4,10F6.2)", "RCUV1581-320   -90  +80 1.5  88e1   107  1 29    94",
     Items::IdentYearValues},
    {"(A,I4,10F6.2)", "RCUV1581132", Items::IdentYearValues},
    {"(A,I4,10F6.2)", "", Items::IdentYearValues},
    {"(A,I4,10F6.2)", "RCUV1581 1x0    90", Items::IdentYearValues},
    {"(A,I4,10F6.2)", "RCUV15811320    90  8x0    88", Items::IdentYearValues},
    {"(A8,I4,10F6.3)", "ABCDEFGH1950  1403 -9999  12 3", Items::IdentYearValues},
    {"(A3,I4,10F6.2)", "ABC1950   378", Items::IdentYearValues},
    {"(A10,I4,10F6.2)", "ABCDEFGHIJ1950   378   379", Items::IdentYearValues},
    {"(A,I5,10F6.2)", "ABCDEFG-1950   378   379", Items::IdentYearValues},
    {"(A,2X,I4,5(F6.2,1X))", "ABCDEFGH  1950   378    379   -12 ", Items::IdentYearValues},
    {"(A,I4,'xx',10F6.2)", "ABCDEFGH1950xx   378   379", Items::IdentYearValues},
    {"(A,I4,2(5F6.2))", "ABCDEFGH1950   378   379     1     2     3     4     5     6     7     8",
     Items::IdentYearValues},
    {"(A,I4,10F6.2)", "ABCDEFGH1950\t378   379", Items::IdentYearValues},
    {"(A,I4,T20,10F6.2)", "ABCDEFGH1950  xxxxx   378   379", Items::IdentYearValues},
    {"(BN,A,I4,10F6.2)", "ABCDEFGH19 0  3 8   3 9", Items::IdentYearValues},
    {"(A,I4,10F6.2)", "ABCDEFGH19 0  3 8   3 9", Items::IdentYearValues},
    {"(A,I4,5F6.2)", "ABCDEFGH1950   378   379", Items::IdentYearValues},
    {"(A,I4,5F6.2)", "ABCDEFGH1950   378   379|IJKLMNOP1951     1", Items::IdentYearValues},
    {"(10F8.0,F6.2)", "       1      -2     3.5  1e3        5", Items::Reals},
    {"(10F3.0,F2.0)", "  1  2  3  4  5  6  7  8  9 1011", Items::Reals},
    {"(10F3.0,F2.0)", "123141147163110111118124106 90 8", Items::Reals},
    {"(10F4.1,F4.1)", " 1.2 3.4 5.6 7.8 9.0 1.1 2.2 3.3 4.4 5.5 6.6", Items::Reals},
    {"(11F3.0)", "  1  2  3  4  5  6  7  8  9 10 11", Items::Reals},
    {"(5F3.0)", "  1  2  3  4  5|  6  7  8  9 10|  11", Items::Reals},
    {"(2P,10F8.0,F6.2)", "       1      -2     3.5  1e3        5", Items::Reals},
    // One real array by one F step, a data line by its format: read at once
    // from an internal record when every field reads.
    {"(10F3.0)", "123141147163110111118124106 90", Items::Floats},
    {"(10F3.0)", "123141147163110111 x8124106 90", Items::Floats},
    {"(10F3.0)", "123141147", Items::Floats},
    {"(10F3.0)", "", Items::Floats},
    {"(26F3.0)", "123141147163110111118124106 90 80 88", Items::Floats},
    {"(5F3.0)", "  1  2  3  4  5|  6  7  8  9 10", Items::Floats},
    {"(10F3.1)", " -7+12 .5  1  2  3  4 5   6 1e2", Items::Floats},
    {"(10F8.0)",
     "12345678876543211677721616777217 99999991234567899999999  -12345      -0 0.000001",
     Items::Floats},
    {"(3X,10F6.2)", "999   378   379 -12.5   1e3     5     6     7     8     9    10",
     Items::Doubles},
    {"(10F6.2)", " 1 2 3   378   379     1     2     3     4     5     6     7", Items::Doubles},
    {"(10F6.2)", "   378   379\t  1     2     3     4     5     6     7     8", Items::Doubles},
    {"(A,I3,I13,F6.2,F5.1,I3)", "ABCDEF -7  123456789012  1.25  0.5 -3", Items::Mixed},
    {"(A5,1X,I3,'|',I13,'|',F6.2,F5.1,I3)", "ABCDE  -7| 123456789012|  1.25  0.5 -3", Items::Mixed},
    {"(A,I3,I13,F6.2,F5.1,I3)", "AB 999 9999999999999", Items::Mixed},
    {"(A,I3,I13,F6.2,F5.1,I3)", "AB 127 922337203685477", Items::Mixed},
    {"(A,I3,I13,F6.2,F5.1,I3)", "ABC 128", Items::Mixed},
    {"(6A)", "ABCDEFGHIJKL", Items::Mixed},
    {"(10I8)",
     "       1       2      -3       4       5       6       7       8       9      10|"
     "      11      12      13      14      15      16      17      18      19      20|"
     "      21      22      23      24      25",
     Items::ManyValues},
    {"(10I8)", "       1       2      -3       4       5       6       7       8       9      10",
     Items::ManyValues},
    {"(3X,6I4)",
     "xxx   1   2   3   4   5   6|xxx   7   8   9  10  11  12|xxx  13  14  15  16  "
     "17  18|xxx  19  20  21  22  23  24|xxx  25",
     Items::ManyValues},
    {"(I4,2(I3))",
     "   1  2  3|  4  5|  6  7|  8  9| 10 11| 12 13| 14 15| 16 17| 18 19| 20 21| 22 23| 24 25",
     Items::ManyValues},
    {"(25I4)", "   1   2   3   4   5   6   7   8   9  10  11  12 1 3  14", Items::ManyValues},
    {"(25I4)", "   1   2   3   4   5   6   7   8   9  10  11  12 1x3  14", Items::ManyValues},
    {"(A)", "RCUV15811320    90    80    88", Items::Line},
    {"(A)", "", Items::Line},
    {"(A)", "a line longer than the twenty columns of the item", Items::Line},
    {"(A5)", "short", Items::Line},
    {"(A30)", "a field wider than the item's twenty columns", Items::Line},
    {"(2X,A)", "  two leading columns skipped", Items::Line},
    {"(3A4)", "ABCDEFGHIJKL", Items::Names},
    {"(A,2A2)", "ABCDEFGH", Items::Names},
    {"(3A)", "ABCDEFGHIJ", Items::Names},
    {"(A2,1X,2A5)", "AB CDEFGHIJKLMNOP", Items::Names},
    {"(A,I4,F6.2)", "ABCDEFGH1950   378", Items::Unplanned},
    {"(A,I4,F6.2,I4)", "ABCDEFGH1950   378  12", Items::Unplanned},
    {"(I4,I4,F6.2)", "1950   1   378", Items::Unplanned},
};

// Reads the row's items from the source (an internal record or a unit's
// control list); the items' bytes and the outcome.
template <class Source>
std::string readItems(const ReadCase& c, const Source& source) {
  const Format format{c.format};
  std::array<char, 8> ident;
  ident.fill('#');
  std::int32_t year = -7;
  std::array<double, 10> values;
  values.fill(-7.5);
  std::array<float, 10> floats;
  floats.fill(-7.5f);
  double last = -7.5;
  std::string text(3, '#');
  std::int16_t small = -7;
  std::int64_t big = -7;
  float single = -7.5f;
  std::int8_t tiny = -7;
  std::array<std::int64_t, 25> many;
  many.fill(-7);
  std::string line(20, '#');
  std::array<char, 12> names;  // an array of three CHARACTER*4
  names.fill('#');
  Logical flag;
  std::int32_t count = -7;
  int rc = -1;
  std::string bytes;
  auto add = [&bytes](const void* p, std::size_t n) {
    bytes.append(static_cast<const char*>(p), n);
    bytes += '|';
  };
  switch (c.items) {
    case Items::IdentYearValues:
      rc = READ(source, format, Chars{ident.data(), ident.size()}, year, std::span<double>(values));
      add(ident.data(), ident.size());
      add(&year, sizeof year);
      add(values.data(), sizeof values);
      break;
    case Items::Reals:
      rc = READ(source, format, std::span<float>(floats), last);
      add(floats.data(), sizeof floats);
      add(&last, sizeof last);
      break;
    case Items::Floats:
      rc = READ(source, format, std::span<float>(floats));
      add(floats.data(), sizeof floats);
      break;
    case Items::Doubles:
      rc = READ(source, format, std::span<double>(values));
      add(values.data(), sizeof values);
      break;
    case Items::Mixed:
      rc = READ(source, format, text, small, big, last, single, tiny);
      add(text.data(), text.size());
      add(&small, sizeof small);
      add(&big, sizeof big);
      add(&last, sizeof last);
      add(&single, sizeof single);
      add(&tiny, sizeof tiny);
      break;
    case Items::ManyValues:
      rc = READ(source, format, std::span<std::int64_t>(many));
      add(many.data(), sizeof many);
      break;
    case Items::Line:
      rc = READ(source, format, line);
      add(line.data(), line.size());
      break;
    case Items::Names:
      rc = READ(source, format, Item{ItemKind::Array, kTypeCharacter, names.data(), 4, 3});
      add(names.data(), names.size());
      break;
    case Items::Unplanned:
      rc = READ(source, format, Chars{ident.data(), ident.size()}, flag, count, last);
      add(ident.data(), ident.size());
      add(&flag, sizeof flag);
      add(&count, sizeof count);
      add(&last, sizeof last);
      break;
  }
  return bytes + " rc " + std::to_string(rc);
}

class ReadPlanTest : public ::testing::Test {
 protected:
  void TearDown() override { setRuntimeOptions(saved_); }
  // Every row from an internal record (its first record), then from a file
  // opened with the given BLANK= and PAD=: per row its bytes and outcome.
  std::vector<std::string> readAll(bool walkEveryFormat, const char* blank, const char* pad) {
    RuntimeOptions options = saved_;
    options.walkEveryFormat = walkEveryFormat;
    setRuntimeOptions(options);
    std::vector<std::string> got;
    std::string file;
    for (const ReadCase& c : kCases) {
      const std::string records = c.record;
      std::int32_t ios = -1;
      const std::string first = records.substr(0, records.find('|'));
      // The items first: IOSTAT is looked at once the statement has ended.
      const std::string items = readItems(
          c, Internal(std::string_view(first), {.iostat = &ios, .err = true, .end = true}));
      got.push_back(items + " ios " + std::to_string(ios));
      for (char ch : records) file += ch == '|' ? '\n' : ch;
      file += '\n';
    }
    testing_support::TempDir dir;
    dir.write("in.txt", file);
    OpenSpec spec;
    spec.file = dir.file("in.txt");
    spec.status = "OLD";
    spec.blank = blank;
    spec.pad = pad;
    EXPECT_EQ(OPEN(Control::of(13), spec), 0);
    for (const ReadCase& c : kCases) {
      std::int32_t ios = -1;
      const std::string items =
          readItems(c, Control{.unit = 13, .iostat = &ios, .err = true, .end = true});
      got.push_back(items + " ios " + std::to_string(ios));
    }
    EXPECT_EQ(CLOSE(Control::of(13)), 0);
    return got;
  }
  RuntimeOptions saved_ = runtimeOptions();
};

TEST_F(ReadPlanTest, APlannedReadGivesTheValuesAndOutcomeOfTheWalk) {
  for (const char* blank : {"NULL", "ZERO"})
    for (const char* pad : {"YES", "NO"}) {
      const std::vector<std::string> planned = readAll(false, blank, pad);
      const std::vector<std::string> walked = readAll(true, blank, pad);
      ASSERT_EQ(planned.size(), walked.size());
      for (std::size_t i = 0; i < planned.size(); ++i) {
        const ReadCase& c = kCases[i % std::size(kCases)];
        EXPECT_EQ(planned[i], walked[i]) << c.format << " record '" << c.record << "' "
                                         << (i < std::size(kCases) ? "internal" : "file")
                                         << " BLANK=" << blank << " PAD=" << pad;
      }
    }
}

// Whole records read by "(A)" one after another up to and past the file's
// end, with PAD= YES and NO, and a variable longer and shorter than the
// records: the read of line-by-line readers, as the walk reads them.
TEST_F(ReadPlanTest, WholeRecordsUpToTheEndReadAsTheWalkReadsThem) {
  testing_support::TempDir dir;
  dir.write("lines.txt", "one\n\na record longer than twelve\nlast");
  auto readLines = [&](bool walk, const char* pad, std::size_t width) {
    RuntimeOptions options = saved_;
    options.walkEveryFormat = walk;
    setRuntimeOptions(options);
    OpenSpec spec;
    spec.file = dir.file("lines.txt");
    spec.status = "OLD";
    spec.pad = pad;
    EXPECT_EQ(OPEN(Control::of(14), spec), 0);
    std::string got;
    for (int k = 0; k < 6; ++k) {
      std::string line(width, '#');
      std::int32_t ios = -1;
      const int rc =
          READ(Control{.unit = 14, .iostat = &ios, .err = true, .end = true}, FMT("(A)"), line);
      got += line + " rc " + std::to_string(rc) + " ios " + std::to_string(ios) + "\n";
    }
    EXPECT_EQ(CLOSE(Control::of(14)), 0);
    return got;
  };
  for (const char* pad : {"YES", "NO"})
    for (std::size_t width : {std::size_t{0}, std::size_t{4}, std::size_t{12}})
      EXPECT_EQ(readLines(false, pad, width), readLines(true, pad, width))
          << "PAD=" << pad << " width " << width;
}

// The plan of a READ is the straight plan's data steps, each with the
// columns the nX and literals before it pass over.
TEST(ReadPlan, SimpleFormatsHaveOneWithTheirControlsFoldedIntoTheSteps) {
  const struct {
    const char* format;
    bool usable;
    std::vector<std::uint32_t> skips;
  } rows[] = {
      {"(A,I4,10F6.2)", true, {0, 0, 0}},
      {"(A,2X,I4,5(F6.2,1X))", true, {0, 2, 0, 1, 1, 1, 1}},
      {"(3X,'ab',6I4,' end')", true, {5}},
      {"(A)", true, {0}},
      {"(A,T20,I4)", false, {}},
      {"(BN,A,I4)", false, {}},
      {"(A,I4/I4)", false, {}},
  };
  for (const auto& row : rows) {
    const Format format{row.format};
    const ReadPlan& plan = format.readPlan();
    EXPECT_EQ(plan.usable, row.usable) << row.format;
    std::vector<std::uint32_t> skips;
    for (const ReadStep& step : plan.steps) skips.push_back(step.skip);
    EXPECT_EQ(skips, row.skips) << row.format;
  }
}

}  // namespace
}  // namespace fmtio
