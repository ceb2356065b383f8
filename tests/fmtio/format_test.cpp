// Format compilation: accepted forms, the entries they compile to, and every
// error number a malformed specification raises.
#include "fmtio/format.h"

#include <gtest/gtest.h>

#include <string>

#include "fmtio/errors.h"

namespace fmtio {
namespace {

std::string compiled(const std::string& text) {
  Format f(text);
  if (f.status() != 0) return "error " + std::to_string(f.status());
  std::string out;
  for (std::size_t i = 0; i < f.entries().size(); ++i) {
    if (i > 0) out += "; ";
    out += describeEntry(f, i);
  }
  return out;
}

struct CompileCase {
  const char* text;
  const char* want;
};

TEST(FormatCompile, ProducesEntriesForEveryDescriptor) {
  const CompileCase cases[] = {
      {"(I12)", "1 I repeat=1 w=12 m=absent; 0 end"},
      {"(I4.3)", "1 I repeat=1 w=4 m=3; 0 end"},
      {"(I0)", "1 I repeat=1 w=0 m=absent; 0 end"},
      {"(I)", "1 I repeat=1 w=absent m=absent; 0 end"},
      {"(B8.8,O6,Z4.2)",
       "2 B repeat=1 w=8 m=8; 3 O repeat=1 w=6 m=absent; 4 Z repeat=1 w=4 m=2; 0 end"},
      {"(10F6.2)", "5 F repeat=10 w=6 d=2; 0 end"},
      {"(F0.3)", "5 F repeat=1 w=0 d=3; 0 end"},
      {"(E0.3,ES0.2E3)", "6 E repeat=1 w=0 d=3 e=absent; 8 ES repeat=1 w=0 d=2 e=3; 0 end"},
      {"(EN0.1,G0.4)", "9 EN repeat=1 w=0 d=1 e=absent; 10 G repeat=1 w=0 d=4 e=absent; 0 end"},
      {"(E12.4)", "6 E repeat=1 w=12 d=4 e=absent; 0 end"},
      {"(E12.4E3)", "6 E repeat=1 w=12 d=4 e=3; 0 end"},
      {"(D10.3)", "7 D repeat=1 w=10 d=3 e=absent; 0 end"},
      {"(ES12.4,EN12.4)",
       "8 ES repeat=1 w=12 d=4 e=absent; 9 EN repeat=1 w=12 d=4 e=absent; 0 end"},
      {"(G10.3)", "10 G repeat=1 w=10 d=3 e=absent; 0 end"},
      {"(L,L3)", "11 L repeat=1 w=absent; 11 L repeat=1 w=3; 0 end"},
      {"(A,3A8)", "12 A repeat=1 w=absent; 12 A repeat=3 w=8; 0 end"},
      {"(T40,TL3,TR2,5X,X)", "13 T n=40; 14 TL n=3; 15 TR n=2; 16 X n=5; 16 X n=1; 0 end"},
      {"(2/)", "18 / repeat=2; 0 end"},
      {"('It''s')", "19 literal length=4 text=[It's]; 0 end"},
      {"(\"say \"\"hi\"\"\")", "19 literal length=8 text=[say \"hi\"]; 0 end"},
      {"(3HA,B)", "19 literal length=3 text=[A,B]; 0 end"},
      {"(SP,SS,S)", "22 SP; 23 SS; 23 SS; 0 end"},
      {"(BN,BZ,:,$,\\)", "24 BN; 25 BZ; 26 :; 27 $; 27 $; 0 end"},
      {"(Q,Q8.2)", "28 Q; 31 Q repeat=1 w=8 d=2; 0 end"},
      {"(E12.4D3,ES9.2D2,G12.4D3)",
       "29 ED repeat=1 w=12 d=4 e=3; 29 ED repeat=1 w=9 d=2 e=2; 30 GD repeat=1 w=12 d=4 e=3; "
       "0 end"},
      {"(I4,2(I2,F6.2))",
       "1 I repeat=1 w=4 m=absent; 20 ( repeat=2; 1 I repeat=1 w=2 m=absent; "
       "5 F repeat=1 w=6 d=2; 21 ); 0 end"},
      {"(2PF10.3)", "17 P k=2; 5 F repeat=1 w=10 d=3; 0 end"},
      {"(-1PE12.4)", "17 P k=-1; 6 E repeat=1 w=12 d=4 e=absent; 0 end"},
      {"(P,F4.1)", "17 P k=1; 5 F repeat=1 w=4 d=1; 0 end"},
  };
  for (const CompileCase& c : cases) EXPECT_EQ(compiled(c.text), c.want) << c.text;
}

TEST(FormatCompile, TreatsLookAlikeFormsTheSame) {
  const CompileCase same[] = {
      {"(I 1 2)", "(I12)"},         {"(i4,f6.2)", "(I4,F6.2)"},
      {"(1X2A)", "(1X,2A)"},        {"  (A)", "(A)"},
      {"(A) trailing text", "(A)"}, {"( 2 ( I 4 , F 6 . 2 ) )", "(2(I4,F6.2))"},
      {"(e12.4e3)", "(E12.4E3)"},   {"(bn,bz)", "(BN,BZ)"},
      {"(I4 F6.2)", "(I4,F6.2)"},   {"(- 1 P E12.4)", "(-1PE12.4)"},
  };
  for (const CompileCase& c : same) EXPECT_EQ(compiled(c.text), compiled(c.want)) << c.text;
}

struct ErrorCase {
  const char* text;
  int want;
};

TEST(FormatCompile, RaisesEachErrorNumber) {
  const ErrorCase cases[] = {
      {"A)", kErrNoOpenParen},
      {"", kErrNoOpenParen},
      {"(A", kErrUnmatchedParens},
      {"((I4)", kErrUnmatchedParens},
      {"('abc)", kErrUnmatchedQuotes},
      {"(\"abc)", kErrUnmatchedQuotes},
      {"(5Habc)", kErrHollerith},
      {"(2'x')", kErrNonRepeatable},
      {"(2:)", kErrNonRepeatable},
      {"(2$)", kErrNonRepeatable},
      {"(2SP)", kErrNonRepeatable},
      {"(2T5)", kErrNonRepeatable},
      {"(2Q)", kErrNonRepeatable},
      {"(0I4)", kErrRepeatCount},
      {"(40000I4)", kErrRepeatCount},
      {"(-2I4)", kErrRepeatCount},
      {"(I4,2)", kErrRepeatCount},
      {"(2BN)", kErrRepeatCount},
      {"(W4)", kErrFormat},
      {"(I4,,I4)", kErrFormat},
      {"(F6)", kErrFormat},
      {"(F-6.2)", kErrFormat},
      {"(I4.)", kErrFormat},
      {"(D0.3)", kErrFormat},
      {"(L0)", kErrFormat},
      {"(A-3)", kErrFormat},
      {"(SX)", kErrFormat},
      {"(T)", kErrFormat},
      {"(TL)", kErrFormat},
      {"(I200)", kErrFormat},
      {"(F6.200)", kErrFormat},
      {"(E12.4E)", kErrFormat},
      {"(+)", kErrFormat},
  };
  for (const ErrorCase& c : cases) {
    Format f(c.text);
    EXPECT_EQ(f.status(), c.want) << c.text;
    EXPECT_TRUE(f.entries().empty()) << c.text;
  }
}

// Where the compiler stopped: the character at fault, or the end of the text.
TEST(FormatCompile, ErrorsKnowWhereTheCompilerStopped) {
  const struct {
    const char* text;
    std::size_t offset;
  } cases[] = {
      {"(I4,W4)", 4},  {"(I4,,I4)", 4},   {"(F6)", 3},     {"(I4, 40000X)", 5},
      {"(A,2'x')", 3}, {"(A, 2 'x')", 4}, {"(A,'abc)", 3}, {"(9Habc)", 2},
      {"  I4)", 2},    {"(I4", 3},        {"(I4,2)", 4},   {"(E12.4E)", 7},
  };
  for (const auto& c : cases) {
    Format f(c.text);
    EXPECT_NE(f.status(), 0) << c.text;
    EXPECT_EQ(f.errorOffset(), c.offset) << c.text;
  }
}

TEST(FormatCompile, KeepsLimitsOfCountsAndWidths) {
  EXPECT_EQ(compiled("(32767I4)"), "1 I repeat=32767 w=4 m=absent; 0 end");
  EXPECT_EQ(compiled("(I127)"), "1 I repeat=1 w=127 m=absent; 0 end");
  EXPECT_EQ(compiled("(A65535)"), "12 A repeat=1 w=65535; 0 end");
  EXPECT_EQ(compiled("(T65535)"), "13 T n=65535; 0 end");
  EXPECT_EQ(compiled("(32767P,F4.1)"), "17 P k=32767; 5 F repeat=1 w=4 d=1; 0 end");
  EXPECT_EQ(Format("(A65536)").status(), kErrFormat);
  EXPECT_EQ(Format("(I128)").status(), kErrFormat);
}

TEST(FormatCompile, MarksWhetherAnyDataDescriptorIsPresent) {
  EXPECT_TRUE(Format("('x',I4)").hasDataDescriptor());
  EXPECT_TRUE(Format("(Q)").hasDataDescriptor());
  EXPECT_FALSE(Format("('x',/,5X)").hasDataDescriptor());
}

}  // namespace
}  // namespace fmtio
