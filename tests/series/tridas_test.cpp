// TRiDaS files: the series a document holds, named, dated and scaled as
// its elements say, and the documents the writer makes read back the same.
#include "series/tridas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace series {
namespace {

// A document of one measurement series with the given parts.
std::string measurementDocument(const std::string& series, const std::string& prefix = "") {
  const std::string p = prefix.empty() ? "" : prefix + ":";
  return "<?xml version=\"1.0\"?>\n<" + p + "tridas xmlns" + (prefix.empty() ? "" : ":" + prefix) +
         "=\"http://www.tridas.org/1.2.2\"><" + p + "project><" + p + "title>Valley</" + p +
         "title><" + p + "object><" + p + "title>Barn</" + p + "title><" + p + "element><" + p +
         "title>Beam 4</" + p + "title><" + p + "sample><" + p + "title>A</" + p + "title><" + p +
         "radius><" + p + "title>r1</" + p + "title>" + series + "</" + p + "radius></" + p +
         "sample></" + p + "element></" + p + "object></" + p + "project></" + p + "tridas>";
}

std::string measurement(const std::string& inner) {
  return "<measurementSeries><title>m</title>" + inner + "</measurementSeries>";
}

struct TridasCase {
  const char* name;
  std::string text;
  std::string wantName;
  std::int32_t first;
  std::vector<float> values;
  std::vector<std::int32_t> samples;
  const char* message;  // a part of a message, or ""
};

TEST(Tridas, ReadsSeriesWithTheirYearsUnitsAndCounts) {
  const std::string hundredths =
      "<values><variable normalTridas=\"Ring width\"/><unit normalTridas=\"1/100th "
      "millimetres\"/><value value=\"123\"/><value value=\"45\"/></values>";
  const TridasCase cases[] = {
      {"identifier, AD",
       measurementDocument(measurement("<identifier domain=\"lab\">B4-A</identifier>"
                                       "<interpretation><firstYear suffix=\"AD\">1901</firstYear>"
                                       "</interpretation>" +
                                       hundredths)),
       "B4-A",
       1901,
       {1.23f, 0.45f},
       {},
       ""},
      {"no identifier: the titles; BC",
       measurementDocument(measurement("<interpretation><firstYear suffix=\"BC\">10</firstYear>"
                                       "</interpretation>" +
                                       hundredths)),
       "Barn-Beam 4-A-r1-m",
       -9,
       {1.23f, 0.45f},
       {},
       ""},
      {"a namespace prefix, BP",
       measurementDocument("<t:measurementSeries><t:identifier>P</t:identifier>"
                           "<t:interpretation><t:firstYear suffix=\"BP\">50</t:firstYear>"
                           "</t:interpretation><t:values><t:unit normalTridas=\"micrometres\"/>"
                           "<t:value value=\"1500\"/></t:values></t:measurementSeries>",
                           "t"),
       "P",
       1900,
       {1.5f},
       {},
       ""},
      {"a chronology with counts",
       "<tridas><project><title>C</title><derivedSeries><identifier>CHR</identifier>"
       "<interpretation><firstYear>1700</firstYear></interpretation><values><unitless/>"
       "<value value=\"0.998\" count=\"4\"/><value value=\"1.1\" count=\"5\"/></values>"
       "</derivedSeries></project></tridas>",
       "CHR",
       1700,
       {0.998f, 1.1f},
       {4, 5},
       ""},
      {"no first year",
       measurementDocument(measurement("<identifier>N</identifier>" + hundredths)),
       "N",
       1,
       {1.23f, 0.45f},
       {},
       "Series N: no first year: dated from year 1"},
      {"a value that is no number",
       measurementDocument(measurement(
           "<identifier>V</identifier><interpretation><firstYear>5</firstYear></interpretation>"
           "<values><unit normalTridas=\"1/1000th millimetres\"/><value value=\"x\"/>"
           "<value value=\"250\"/></values>")),
       "V",
       5,
       {0.0f, 0.25f},
       {},
       "Series V, year 5: the value \"x\" is no number: taken as 0"},
      {"an unknown unit",
       measurementDocument(measurement(
           "<identifier>U</identifier><interpretation><firstYear>5</firstYear></interpretation>"
           "<values><unit>inches</unit><value value=\"2\"/></values>")),
       "U",
       5,
       {2.0f},
       {},
       "the unit \"inches\" is not known: values read as they stand"},
      {"two sets of values",
       measurementDocument(measurement("<identifier>W</identifier><interpretation><firstYear>"
                                       "5</firstYear></interpretation>" +
                                       hundredths + hundredths)),
       "W",
       5,
       {1.23f, 0.45f},
       {},
       "Series W: 1 further sets of values (other variables) are not read"},
  };
  for (const TridasCase& c : cases) {
    EXPECT_TRUE(looksLikeTridas(textLines(c.text))) << c.name;
    ExchangeRead read = readTridas(c.text);
    ASSERT_EQ(read.series.size(), 1u) << c.name;
    const NamedSeries& s = read.series[0];
    EXPECT_EQ(s.name, c.wantName) << c.name;
    EXPECT_EQ(s.firstYear, c.first) << c.name;
    ASSERT_EQ(s.values.size(), c.values.size()) << c.name;
    for (std::size_t k = 0; k < c.values.size(); ++k)
      EXPECT_FLOAT_EQ(s.values[k], c.values[k]) << c.name << " " << k;
    EXPECT_EQ(s.samples, c.samples) << c.name;
    bool found = *c.message == '\0' ? read.messages.empty() : false;
    for (const std::string& m : read.messages)
      found = found || m.find(c.message) != std::string::npos;
    EXPECT_TRUE(found) << c.name << ": " << (read.messages.empty() ? "" : read.messages.front());
  }
  EXPECT_EQ(readTridas(measurementDocument(measurement(""))).series.size(), 0u);
}

TEST(Tridas, AMalformedDocumentIsToldNotRead) {
  ExchangeRead read = readTridas("<tridas><project><title>x</project>");
  EXPECT_TRUE(read.series.empty());
  ASSERT_EQ(read.messages.size(), 1u);
  EXPECT_EQ(read.messages[0].rfind("not well-formed XML: ", 0), 0u) << read.messages[0];
}

TEST(Tridas, TheWriterMakesDocumentsThatReadBackTheSame) {
  const std::vector<NamedSeries> series = {
      {"K1", 1901, {2.5f, 1.25f}, {}, "Valley / Barn"},
      {"OLD", -5, {0.125f, 1.5f}, {}, ""},
      {"CHRONO", 1700, {0.998f, 1.002f}, {4, 5}, ""},
  };
  const std::string text = writeTridas(series);
  EXPECT_TRUE(looksLikeTridas(textLines(text)));
  EXPECT_NE(text.find("<firstYear suffix=\"BC\">6</firstYear>"), std::string::npos) << text;
  EXPECT_NE(text.find("<unit normalTridas=\"1/100th millimetres\" />"), std::string::npos);
  EXPECT_NE(text.find("<value value=\"0.998\" count=\"4\" />"), std::string::npos);
  ExchangeRead read = readTridas(text);
  EXPECT_TRUE(read.messages.empty());
  ASSERT_EQ(read.series.size(), 3u);
  for (std::size_t k = 0; k < series.size(); ++k) {
    EXPECT_EQ(read.series[k].name, series[k].name);
    EXPECT_EQ(read.series[k].firstYear, series[k].firstYear) << series[k].name;
    EXPECT_EQ(read.series[k].values, series[k].values) << series[k].name;
    EXPECT_EQ(read.series[k].samples, series[k].samples) << series[k].name;
  }
}

TEST(Tridas, OnlyItsRootElementIdentifiesIt) {
  const struct {
    const char* text;
    bool want;
  } cases[] = {
      {"<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<tridas xmlns=\"x\">", true},
      {"<tridas:tridas xmlns:tridas=\"x\">", true},
      {"<tridasx>", false},
      {"<project>", false},
      {"year,A\n", false},
  };
  for (const auto& c : cases) EXPECT_EQ(looksLikeTridas(textLines(c.text)), c.want) << c.text;
}

}  // namespace
}  // namespace series
