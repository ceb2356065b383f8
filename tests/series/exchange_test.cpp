// The exchange formats read and written whole: the CSV table of statistics
// tools and the Heidelberg format, their identification and round trips.
#include "series/exchange.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace series {
namespace {

struct Expected {
  std::string name;
  std::int32_t first;
  std::vector<float> values;
  std::vector<std::int32_t> samples = {};
};

void expectSeries(const ExchangeRead& read, const std::vector<Expected>& want,
                  const std::string& what) {
  ASSERT_EQ(read.series.size(), want.size()) << what;
  for (std::size_t k = 0; k < want.size(); ++k) {
    EXPECT_EQ(read.series[k].name, want[k].name) << what;
    EXPECT_EQ(read.series[k].firstYear, want[k].first) << what << " " << want[k].name;
    ASSERT_EQ(read.series[k].values.size(), want[k].values.size()) << what << " " << want[k].name;
    for (std::size_t i = 0; i < want[k].values.size(); ++i)
      EXPECT_FLOAT_EQ(read.series[k].values[i], want[k].values[i]) << what << " " << i;
    EXPECT_EQ(read.series[k].samples, want[k].samples) << what;
  }
}

bool hasMessage(const ExchangeRead& read, const std::string& part) {
  for (const std::string& m : read.messages)
    if (m.find(part) != std::string::npos) return true;
  return false;
}

// One row of a reading table: the text is identified as the format, reads
// as the series wanted, and gives the message (a part of it) or none.
struct ReadCase {
  const char* name;
  std::string text;
  std::vector<Expected> want;
  const char* message;
};

void expectReadCase(Exchange format, const ReadCase& c) {
  EXPECT_EQ(identifyExchange(c.text), format) << c.name;
  ExchangeRead read = readExchange(format, c.text);
  expectSeries(read, c.want, c.name);
  if (*c.message != '\0')
    EXPECT_TRUE(hasMessage(read, c.message)) << c.name;
  else
    EXPECT_TRUE(read.messages.empty()) << c.name << ": " << read.messages.front();
}

TEST(CsvTable, EachSeriesRunsFromItsFirstToItsLastValue) {
  const ReadCase cases[] = {
      {"statistics tool with NA",
       "\"\",\"A1\",\"B2\"\n1901,NA,0.5\n1902,1.25,0.75\n1903,1.5,NA\n",
       {{"A1", 1902, {1.25f, 1.5f}}, {"B2", 1901, {0.5f, 0.75f}}},
       ""},
      {"index named, empty cells, CR LF",
       "year,x,y\r\n1700,,2\r\n1701,3,\r\n",
       {{"x", 1701, {3}}, {"y", 1700, {2}}},
       ""},
      {"a gap inside a series",
       "Year,S\n1,1\n2,NA\n3,3\n",
       {{"S", 1, {1, 0, 3}}},
       "1 years without a value inside the series, the first 2: taken as 0"},
      {"rows in any order", "year,S\n1802,2\n1801,1\n", {{"S", 1801, {1, 2}}}, ""},
      {"a name with a comma", "year,\"a,b\"\n5,1\n", {{"a,b", 5, {1}}}, ""},
      {"a cell that is no number",
       "year,S\n1,1\n2,x\n3,3\n",
       {{"S", 1, {1, 0, 3}}},
       "Series S, year 2: x is no number: no value"},
      {"a row without its year",
       "year,S\n1,1\nabc,2\n",
       {{"S", 1, {1}}},
       "Line 3: no year in its first cell (abc): not read"},
      {"a column without values",
       "year,S,T\n1,1,NA\n",
       {{"S", 1, {1}}},
       "Series T: no value at all: left out"},
      {"cells beyond the header",
       "year,S\n1,1,7\n",
       {{"S", 1, {1}}},
       "Line 2: 1 cells beyond the named columns are not read"},
      {"a year twice",
       "year,S\n1,1\n1,2\n",
       {{"S", 1, {1}}},
       "Line 3: the year 1 stands twice: the first is kept"},
  };
  for (const ReadCase& c : cases) expectReadCase(Exchange::Csv, c);
}

TEST(CsvTable, WritesNaOutsideEachSeriesAndReadsBackTheSame) {
  const std::vector<NamedSeries> series = {{"A", 1900, {1.25f, 0.3f}, {}, ""},
                                           {"B,2", 1901, {2.5f, 0.125f, 9.99f}, {}, ""}};
  const std::string text = writeCsvTable(series);
  EXPECT_EQ(text, "year,A,\"B,2\"\n1900,1.25,NA\n1901,0.3,2.5\n1902,NA,0.125\n1903,NA,9.99\n");
  ExchangeRead read = readCsvTable(textLines(text));
  expectSeries(read, {{"A", 1900, {1.25f, 0.3f}}, {"B,2", 1901, {2.5f, 0.125f, 9.99f}}},
               "read back");
  // Series far apart in time: no rows for the years between them.
  const std::string apart =
      writeCsvTable({{"OLD", -2000000000, {1}, {}, ""}, {"NEW", 2000000000, {2, 3}, {}, ""}});
  EXPECT_EQ(apart, "year,OLD,NEW\n-2000000000,1,NA\n2000000000,NA,2\n2000000001,NA,3\n");
}

TEST(Heidelberg, ReadsTheKindsOfDataInTheDeclaredUnit) {
  const ReadCase cases[] = {
      {"tree, ten to a line, zeros filling the last",
       "HEADER:\nKeyCode=K1\nDateBegin=1158\nLength=12\nDATA:Single\n"
       "   250   273   227   144   147   229   283   269   141   136\n"
       "   222   105     0     0     0     0     0     0     0     0\n",
       {{"K1",
         1158,
         {2.5f, 2.73f, 2.27f, 1.44f, 1.47f, 2.29f, 2.83f, 2.69f, 1.41f, 1.36f, 2.22f, 1.05f}}},
       ""},
      {"thousandths, dated by its end, CR LF",
       "HEADER:\r\nKeyCode=T\r\nDateEnd=2000\r\nUnit=1/1000 mm\r\nLength=2\r\nDATA:Tree\r\n"
       "  1234   567\r\n",
       {{"T", 1999, {1.234f, 0.567f}}},
       ""},
      {"half chronology with sample counts",
       "HEADER:\nKeyCode=M\nDateBegin=-5\nDateEnd=-4\nDATA:HalfChrono\n   100     3   110     4\n",
       {{"M", -5, {1.0f, 1.1f}, {3, 4}}},
       ""},
      {"quad chronology",
       "HEADER:\nKeyCode=Q\nDateBegin=1220\nLength=2\nDataFormat=Chrono\nDATA:Quadro\n"
       "   108     1     0     0   117     2     1     0     0     0     0     0\n",
       {{"Q", 1220, {1.08f, 1.17f}, {1, 2}}},
       ""},
      {"two series, keywords in any case",
       "HEADER:\nkeycode=A\ndatebegin=1\nlength=1\nDATA:Tree\n5\nHEADER:\nKeyCode=B\n"
       "DateBegin=3\nLength=1\nDATA:Tree\n7\n",
       {{"A", 1, {0.05f}}, {"B", 3, {0.07f}}},
       ""},
      {"an unknown unit",
       "HEADER:\nKeyCode=U\nDateBegin=1\nLength=1\nUnit=inch\nDATA:Tree\n5\n",
       {{"U", 1, {0.05f}}},
       "the unit \"inch\" is not known: read as 1/100 mm"},
      {"numbers beyond its length",
       "HEADER:\nKeyCode=L\nDateBegin=1\nLength=1\nDATA:Tree\n5 6\n",
       {{"L", 1, {0.05f}}},
       "numbers beyond its 1 years are not read"},
      {"a length beyond its numbers",
       "HEADER:\nKeyCode=S\nDateBegin=1\nLength=3\nDATA:Tree\n5\n",
       {{"S", 1, {0.05f}}},
       "Length=3 but 1 values follow: 1 read"},
      {"no date",
       "HEADER:\nKeyCode=N\nLength=1\nDATA:Tree\n5\n",
       {{"N", 1, {0.05f}}},
       "no DateBegin or DateEnd: dated from year 1"},
      {"no key code",
       "HEADER:\nDateBegin=1\nLength=1\nDATA:Tree\n5\n",
       {{"FH1", 1, {0.05f}}},
       "no KeyCode: named FH1"},
  };
  for (const ReadCase& c : cases) expectReadCase(Exchange::Heidelberg, c);
}

TEST(Heidelberg, WritesTreeOrHalfChronoAndReadsBackTheSame) {
  const std::vector<NamedSeries> series = {
      {"K1", 1901, {2.5f, 1.25f}, {}, ""},
      {"FINE", -3, {0.125f, 1.5f}, {}, ""},
      {"CHRONO", 1700, {0.998f, 1.002f, 1.1f}, {4, 5, 6}, ""},
  };
  const std::string text = writeHeidelberg(series);
  EXPECT_NE(text.find("HEADER:\nKeyCode=K1\nDateBegin=1901\nDateEnd=1902\nLength=2\n"
                      "Unit=1/100 mm\nDataFormat=Tree\nDATA:Tree\n   250   125     0"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Unit=1/1000 mm\nDataFormat=Tree\nDATA:Tree\n   125  1500"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("DataFormat=HalfChrono\nDATA:HalfChrono\n   998     4  1002     5  1100"),
            std::string::npos)
      << text;
  ExchangeRead read = readHeidelberg(textLines(text));
  EXPECT_TRUE(read.messages.empty());
  expectSeries(read,
               {{"K1", 1901, {2.5f, 1.25f}},
                {"FINE", -3, {0.125f, 1.5f}},
                {"CHRONO", 1700, {0.998f, 1.002f, 1.1f}, {4, 5, 6}}},
               "read back");
}

TEST(Exchange, IdentifiedByTheirFirstLinesAndNamed) {
  struct Case {
    const char* text;
    Exchange want;
  } cases[] = {
      {"\xEF\xBB\xBFHEADER:\nKeyCode=A\n", Exchange::Heidelberg},
      {"\n  header:\n", Exchange::Heidelberg},
      {"year,A\n1900,1\n", Exchange::Csv},
      {"1900,1\n1901,2\n", Exchange::None},  // a column of years, no header: a column format
      {"year,1901\n1900,1\n", Exchange::None},
      {"      10=N    1901=I AB01                            -2(13F6.0)~\n", Exchange::None},
      {"AB01    1901   101   102\n", Exchange::None},
      {"", Exchange::None},
  };
  for (const Case& c : cases) EXPECT_EQ(identifyExchange(c.text), c.want) << c.text;
  EXPECT_EQ(exchangeNamed("FH"), Exchange::Heidelberg);
  EXPECT_EQ(exchangeNamed("csv"), Exchange::Csv);
  EXPECT_EQ(exchangeNamed("C"), Exchange::None);
}

}  // namespace
}  // namespace series
