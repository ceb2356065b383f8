// The text helpers on blank-padded fields: where the text ends, capitals,
// blanks squeezed out.
#include "common/text.h"

#include <gtest/gtest.h>

#include <string>

namespace common {
namespace {

TEST(LastNonBlank, CountsToTheLastCharacterNeitherBlankNorNul) {
  struct Case {
    std::string text;
    int want;
  } cases[] = {
      {"abc  ", 3},
      {"     ", 1},  // all blank: 1, as for one character
      {"", 1},
      {"x", 1},
      {" x", 2},
      {std::string("a\0b\0 ", 5), 3},  // NUL counts as blank
      {"a\t", 2},                      // a tab is text
      {std::string(200, 'z') + "  ", 200},
  };
  for (const Case& c : cases) EXPECT_EQ(LASTNB(c.text), c.want) << "[" << c.text << "]";
}

// The helpers that rewrite a field in place: UPCASE changes only the letters
// a..z; NOBLNK moves only blanks, keeping the length.
TEST(FieldRewrites, ChangeOnlyWhatTheyName) {
  struct Case {
    void (*rewrite)(std::string&);
    const char* name;
    std::string text, want;
  } cases[] = {
      {UPCASE, "UPCASE", "MiXeD 1-z`{@[\xe4", "MIXED 1-Z`{@[\xe4"},
      {UPCASE, "UPCASE", "az AZ", "AZ AZ"},
      {UPCASE, "UPCASE", "", ""},
      {NOBLNK, "NOBLNK", "  da ta.t xt ", "data.txt     "},
      {NOBLNK, "NOBLNK", "a b", "ab "},
      {NOBLNK, "NOBLNK", " /", "/ "},
      {NOBLNK, "NOBLNK", "  ", "  "},
      {NOBLNK, "NOBLNK", "", ""},
      {NOBLNK, "NOBLNK", "\ta b", "\tab "},  // a tab is text
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    c.rewrite(text);
    EXPECT_EQ(text, c.want) << c.name << " [" << c.text << "]";
  }
}

}  // namespace
}  // namespace common
