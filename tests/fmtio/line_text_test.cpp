// The text of a data line, already cut at its line end, is appended to its
// record as any input text is: tabs expanded to the tab stops from the
// record's column, the record limit kept (one character past it telling a
// record too long), a companion character dropped unless it is a line feed
// or a carriage return (a cut line holds neither); and so is such a text
// without tabs by the path for text that needs no expansion.
#include <gtest/gtest.h>

#include <string>

#include "fmtio/records.h"

namespace fmtio {
namespace {

constexpr const char* kTexts[] = {
    "",
    "RCUV15811320    90    80    88   107",
    "\t",
    "a\tb",
    "\t\t12\t",
    "1234567\t8",
    "12345678\t9",
    "x",
    "axbx\tx",
    "a line of more than the twenty characters of the smallest limit",
    "tabs\tpast\tthe\tlimit\tof\ttwenty",
};

constexpr const char* kRecordsBefore[] = {"", "abc", "1234567"};

TEST(LineText, ACutLineIsAppendedAsAnyInputText) {
  for (char companion : {'\r', '\n', 'x'})
    for (int tabSize : {1, 3, 8})
      for (std::size_t limit : {std::size_t{20}, kDefaultRecordLimit})
        for (const char* before : kRecordsBefore)
          for (const char* text : kTexts) {
            LineEnds ends;
            ends.terminator = companion == '\n' ? '\r' : '\n';
            ends.companion = companion;
            ends.tabSize = tabSize;
            ends.recordLimit = limit;
            const std::string bytes = text;
            std::string line = before, input = before, plain = before;
            appendLineText(line, bytes.data(), bytes.size(), ends);
            appendInputText(input, bytes.data(), bytes.size(), ends);
            EXPECT_EQ(line, input)
                << "text '" << text << "' after '" << before << "' companion " << int{companion}
                << " tab size " << tabSize << " limit " << limit;
            if (bytes.find('\t') != std::string::npos) continue;
            appendPlainText(plain, bytes.data(), bytes.size(), ends);
            EXPECT_EQ(plain, input) << "without tabs: text '" << text << "' after '" << before
                                    << "' companion " << int{companion} << " limit " << limit;
          }
}

}  // namespace
}  // namespace fmtio
