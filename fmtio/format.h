// Compiled format specifications.
//
// compileFormat() turns FORTRAN 77 edit-descriptor text such as "(A,I4,10F6.2)"
// into a flat list of FormatEntry ending in an End entry, or returns one of the
// error numbers 10004, 10006..10012. Characters after the final ')' are ignored.
// Limits: numeric widths and digit counts 0..127 (a larger one is 10006),
// repeat counts, A/L widths, T/TL/TR/X counts and literal lengths 16-bit
// unsigned, scale factor 16-bit signed.
//
// Format is a compiled specification that owns its entries; constant formats
// are compiled once per call site through FMT("...") (see io.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fmtio {

// Opcodes of the compiled form; numbers 1..31 are those of the descriptor table.
enum class Op : std::uint8_t {
  End = 0,          // the final ')'
  I = 1,            // Iw[.m]
  B = 2,            // Bw[.m]
  O = 3,            // Ow[.m]
  Z = 4,            // Zw[.m]
  F = 5,            // Fw.d
  E = 6,            // Ew.d[Ee]
  D = 7,            // Dw.d[Ee]
  ES = 8,           // ESw.d[Ee]
  EN = 9,           // ENw.d[Ee]
  G = 10,           // Gw.d[Ee]
  L = 11,           // Lw
  A = 12,           // Aw
  T = 13,           // Tn
  TL = 14,          // TLn
  TR = 15,          // TRn
  X = 16,           // nX
  P = 17,           // kP
  Slash = 18,       // / or r/
  Literal = 19,     // 'text', "text", nH
  GroupOpen = 20,   // r(
  GroupClose = 21,  // ) of an inner group
  SP = 22,
  SS = 23,  // SS or S
  BN = 24,
  BZ = 25,
  Colon = 26,
  Dollar = 27,  // $ or backslash
  Q = 28,       // bare Q
  ExpD = 29,    // Ew.dDe, ESw.dDe, ENw.dDe
  GExpD = 30,   // Gw.dDe
  QW = 31,      // Qw.d
};

// True for the opcodes that consume an I/O item.
constexpr bool isDataOp(Op op) {
  auto n = static_cast<int>(op);
  return (n >= 1 && n <= 12) || (n >= 28 && n <= 31);
}

// Operand value of a width or digit count that was not written.
constexpr int kAbsent = -1;

struct FormatEntry {
  Op op = Op::End;
  // E-family kind for ExpD: the letter written before w (E, ES or EN).
  Op family = Op::End;
  std::uint16_t repeat = 1;  // data descriptors, groups, slash; X count; A/L width
  std::int16_t k = 0;        // scale factor of P
  std::int32_t w = kAbsent;  // width: kAbsent, 0 = minimal, else 1..127 (A/L: 16-bit)
  std::int8_t d = kAbsent;   // d of F/E/D/G/Q, m of I/B/O/Z
  std::int8_t e = kAbsent;   // exponent digits
  std::uint16_t count = 0;   // T/TL/TR/X position count, literal length
  std::uint32_t text = 0;    // literal: offset of its characters in the text pool
};

// How a plan's step edits: a literal or X, an A field, an Iw field without
// m (the digits straight into the field), any other data field.
enum class PlanEdit : std::uint8_t { Control, Alpha, PlainInteger, Other };

// The straight plan of a format a WRITE may follow instead of the walk:
// one pass over the format as steps, group repeats spelt out, each step an
// entry and the uses of it in a row (a data descriptor's repeat count; 1 for
// the others). A format has one only when it is made of Aw, Iw[.m] and Fw.d
// (w > 0), nX and literals, with groups one level deep and at most
// kMaxPlanSteps steps in all.
struct PlanStep {
  std::uint32_t entry = 0;
  std::uint32_t count = 1;
  // The entry's opcode, edit and width, kept beside it for the run.
  Op op = Op::End;
  PlanEdit edit = PlanEdit::Control;
  std::int32_t w = kAbsent;
  // A data step followed by a literal or X before the next data step or
  // the end: the run stops for them when the step is used up.
  bool controlsAfter = false;
};
struct FormatPlan {
  static constexpr std::size_t kMaxPlanSteps = 256;
  bool built = false;
  bool usable = false;
  std::vector<PlanStep> steps;
  std::size_t dataUses = 0;  // the data steps' counts added up
  // A format without groups reverts to its start: items beyond one pass end
  // the record and begin the plan again, as the walk does.
  bool revertsToStart = false;
};

// The plan of a READ (see read_plan.cpp): the data steps of the straight
// plan, each with the columns the control steps before it (nX, literals)
// move the position on by. Made only when the straight plan is usable.
struct ReadStep {
  std::uint32_t entry = 0;
  std::uint32_t count = 1;  // uses in a row
  std::uint32_t skip = 0;   // columns passed over before the first use
};
struct ReadPlan {
  bool built = false;
  bool usable = false;
  std::vector<ReadStep> steps;
  // In a format that reverts to its start (FormatPlan::revertsToStart)
  // whose data steps are all of one opcode: that opcode, and items all of
  // its kind may go on past the end of the format. Else End.
  Op reverting = Op::End;
};

class Format {
 public:
  Format() = default;
  // Compiles text; status() is 0 or the error number.
  explicit Format(std::string_view text);

  int status() const { return status_; }
  // When status() is an error: the offset in the text where the compiler
  // stopped, at the character in fault (a bad letter, a repeat count that is
  // not allowed, a quote never closed) or the text's length when it ran out.
  std::size_t errorOffset() const { return errorOffset_; }
  const std::vector<FormatEntry>& entries() const { return entries_; }
  std::string_view literal(const FormatEntry& e) const {
    return std::string_view(pool_).substr(e.text, e.count);
  }
  bool hasDataDescriptor() const { return hasData_; }
  // The format's straight plan, made on first use (see plan.cpp).
  const FormatPlan& plan() const { return plan_.built ? plan_ : makePlan(); }
  // The same for a READ, made on first use (see read_plan.cpp).
  const ReadPlan& readPlan() const { return readPlan_.built ? readPlan_ : makeReadPlan(); }

 private:
  const FormatPlan& makePlan() const;
  const ReadPlan& makeReadPlan() const;
  friend class FormatCompiler;
  friend int compileFormat(std::string_view text, Format& out);
  std::vector<FormatEntry> entries_;
  std::string pool_;
  int status_ = 0;
  std::size_t errorOffset_ = 0;
  bool hasData_ = false;
  mutable FormatPlan plan_;
  mutable ReadPlan readPlan_;
};

// Compiles text into out; returns 0 or the error number.
int compileFormat(std::string_view text, Format& out);

// One line describing entry i, e.g. "1 I repeat=1 w=12 m=absent" (used by ringfmt).
std::string describeEntry(const Format& format, std::size_t i);

}  // namespace fmtio
