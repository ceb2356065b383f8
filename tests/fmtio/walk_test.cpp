// The format walk, driven alone with a fake end-of-record action that
// records a trace such as "I4 I2 F6.2 / I2 F6.2".
#include "fmtio/walk.h"

#include <gtest/gtest.h>

#include <string>

#include "fmtio/errors.h"
#include "fmtio/format.h"

namespace fmtio {
namespace {

class Trace : public RecordEnd {
 public:
  int endOfRecord() override {
    text += "/ ";
    return 0;
  }
  std::string text;
};

const char* opName(Op op) {
  switch (op) {
    case Op::I: return "I";
    case Op::F: return "F";
    case Op::E: return "E";
    case Op::A: return "A";
    case Op::L: return "L";
    case Op::X: return "X";
    case Op::Literal: return "'";
    case Op::Slash: return "/";
    default: return "?";
  }
}

// Walks `items` items of one type; returns the trace, or the error number.
std::string walk(const char* text, int items, ItemType type = ItemType::Integer4) {
  Format f(text);
  EXPECT_EQ(f.status(), 0) << text;
  FormatWalker w;
  w.start(f);
  Trace trace;
  for (int i = 0; i < items;) {
    Field field;
    if (int rc = w.next(type, trace, field)) return trace.text + "error " + std::to_string(rc);
    trace.text += opName(field.op);
    if (field.w != kAbsent) trace.text += std::to_string(field.w);
    if (field.op == Op::F) trace.text += "." + std::to_string(field.d);
    trace.text += " ";
    if (isDataOp(field.op)) ++i;
  }
  while (w.peekControl()) {
    Field field;
    w.next(ItemType::None, trace, field);
    if (field.op == Op::Colon) break;  // as the end of a statement does
    trace.text += std::string("+") + opName(field.op) + " ";
  }
  return trace.text;
}

struct WalkCase {
  const char* format;
  int items;
  const char* want;
};

TEST(FormatWalk, FollowsRepeatsGroupsAndReversion) {
  const WalkCase cases[] = {
      {"(I4,2(I2,F6.2))", 7, "I4 I2 F6.2 I2 F6.2 / I2 F6.2 "},
      {"(A,I4,3F6.2)", 7, "A I4 F6.2 F6.2 F6.2 / A I4 "},
      {"(I2,(I3),(I4))", 4, "I2 I3 I4 / I4 "},
      {"(2(I1,2(I2)))", 6, "I1 I2 I2 I1 I2 I2 "},
      {"(2(I1,2(I2)))", 7, "I1 I2 I2 I1 I2 I2 / I1 "},
      {"(3I2)", 4, "I2 I2 I2 / I2 "},
      {"('a',I2,'b')", 1, "' I2 +' "},
      {"('a',I2,'b',I3,'c')", 1, "' I2 +' "},
      {"(I2,:,'more')", 1, "I2 "},
      {"(I2,/,'x',5X)", 1, "I2 +/ +' +X "},
      // Format control runs on to the next data descriptor after the last item.
      {"(2('a',I2))", 1, "' I2 +' "},
      {"(2('a',I2))", 2, "' I2 ' I2 "},
      // Outer groups that still loop take the walk back to their data descriptors.
      {"(2(2(I1,'q')),'x')", 2, "I1 ' I1 +' "},
      {"(I1,3(2('a')))", 1, "I1 +' +' +' +' +' +' "},
      {"(2(2(I1,/)),'x')", 2, "I1 / I1 +/ "},
      {"('n',I1,2((I1)),'p')", 4, "' I1 I1 I1 ' / I1 "},
  };
  for (const WalkCase& c : cases) EXPECT_EQ(walk(c.format, c.items), c.want) << c.format;
}

struct DefaultCase {
  const char* format;
  ItemType type;
  int w, d, e;
};

TEST(FormatWalk, SuppliesDefaultFieldValuesByItemType) {
  const DefaultCase cases[] = {
      {"(I)", ItemType::Integer4, 12, kAbsent, kAbsent},
      {"(I)", ItemType::Integer2, 7, kAbsent, kAbsent},
      {"(Z)", ItemType::Logical1, 7, kAbsent, kAbsent},
      {"(E)", ItemType::Real4, 15, 6, 2},
      {"(F)", ItemType::Real8, 24, 15, 3},
      {"(G)", ItemType::Real16, 28, 17, 4},
      {"(E12.4)", ItemType::Real4, 12, 4, 2},
      {"(E12.4)", ItemType::Real8, 12, 4, 2},
      {"(E12.4E3)", ItemType::Real4, 12, 4, 3},
      {"(F8.3)", ItemType::Real4, 8, 3, kAbsent},
      {"(I0)", ItemType::Integer4, 0, kAbsent, kAbsent},
      {"(F0.2)", ItemType::Real4, 0, 2, kAbsent},
      {"(L)", ItemType::Logical4, 2, kAbsent, kAbsent},
      {"(A)", ItemType::Character, kAbsent, kAbsent, kAbsent},
      {"(A5)", ItemType::Character, 5, kAbsent, kAbsent},
      {"(Q8.2)", ItemType::Real4, 8, 2, 2},
  };
  for (const DefaultCase& c : cases) {
    Format f(c.format);
    FormatWalker w;
    w.start(f);
    Trace trace;
    Field field;
    ASSERT_EQ(w.next(c.type, trace, field), 0) << c.format;
    EXPECT_EQ(field.w, c.w) << c.format;
    EXPECT_EQ(field.d, c.d) << c.format;
    EXPECT_EQ(field.e, c.e) << c.format;
  }
}

std::string nested(int depth) {
  return "(" + std::string(depth, '(') + "I1" + std::string(depth, ')') + ")";
}

TEST(FormatWalk, AllowsTwentyNestedGroupsAndRefusesTheTwentyFirst) {
  EXPECT_EQ(walk(nested(20).c_str(), 1), "I1 ");
  EXPECT_EQ(walk(nested(21).c_str(), 1), "error " + std::to_string(kErrGroupOverflow));
}

TEST(FormatWalk, EndsWithAnErrorWhenNoDataDescriptorCanBeReached) {
  EXPECT_EQ(walk("('abc')", 1), "' error " + std::to_string(kErrFormat));
  // The reverted part holds no data descriptor: the second pass must stop.
  EXPECT_EQ(walk("(I1,('x'))", 2), "I1 ' / ' error " + std::to_string(kErrFormat));
}

TEST(FormatWalk, PeekSeesControlsBehindAGroupThatLoops) {
  EXPECT_EQ(walk("(I1,2(I2,'x'))", 2), "I1 I2 +' ");
}

}  // namespace
}  // namespace fmtio
