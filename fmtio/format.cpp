// The format compiler: one loop over tokens, one short function per construct.
#include "fmtio/format.h"

#include <cctype>
#include <new>

#include "fmtio/errors.h"

namespace fmtio {

namespace {
constexpr int kMaxRepeat = 32767;
constexpr int kMaxNumericWidth = 127;
constexpr int kMaxCount = 65535;
}  // namespace

// Scans format text and appends entries to a Format; every error is returned
// as its number the moment it is found.
class FormatCompiler {
 public:
  FormatCompiler(std::string_view text, Format& out) : s_(text), out_(out) {}

  int run() {
    skipBlanks();
    if (atEnd() || s_[i_] != '(') return kErrNoOpenParen;
    ++i_;
    int depth = 1;
    while (depth > 0) {
      skipBlanks();
      if (atEnd()) return kErrUnmatchedParens;
      if (int rc = item(depth)) return rc;
      skipBlanks();
      if (depth > 0 && !atEnd() && s_[i_] == ',') ++i_;
    }
    push(FormatEntry{});
    return 0;
  }

  // Where the compiler stopped: the construct at fault, or the end of the text.
  std::size_t position() const { return i_; }

 private:
  struct Number {
    bool present = false;
    long value = 0;
  };

  bool atEnd() const { return i_ >= s_.size(); }
  void skipBlanks() {
    while (!atEnd() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
  }
  char peekUpper() {
    skipBlanks();
    return atEnd() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(s_[i_])));
  }

  // An optional sign and decimal digits, with blanks ignored among them.
  // A sign without digits is a malformed number (10006).
  int number(Number& n) {
    n = {};
    skipBlanks();
    bool negative = false;
    bool sign = false;
    if (!atEnd() && (s_[i_] == '+' || s_[i_] == '-')) {
      negative = s_[i_] == '-';
      sign = true;
      ++i_;
    }
    for (;;) {
      skipBlanks();
      if (atEnd() || !std::isdigit(static_cast<unsigned char>(s_[i_]))) break;
      if (n.value < 1000000) n.value = n.value * 10 + (s_[i_] - '0');
      n.present = true;
      ++i_;
    }
    if (sign && !n.present) return kErrFormat;
    if (negative) n.value = -n.value;
    return 0;
  }

  void push(FormatEntry e) {
    if (isDataOp(e.op)) out_.hasData_ = true;
    out_.entries_.push_back(e);
  }

  // One descriptor with its repeat count. A bad count points at the count.
  int item(int& depth) {
    skipBlanks();
    std::size_t start = i_;
    int rc = descriptor(depth);
    if (rc == kErrRepeatCount || rc == kErrNonRepeatable) i_ = start;
    return rc;
  }

  int descriptor(int& depth) {
    Number n;
    if (int rc = number(n)) return rc;
    char c = peekUpper();
    if (n.present && c == 'P') {
      ++i_;
      return pushScale(n.value);
    }
    if (n.present && (n.value < 1 || n.value > kMaxRepeat)) return kErrRepeatCount;
    if (atEnd()) return kErrUnmatchedParens;
    ++i_;
    auto repeat = static_cast<std::uint16_t>(n.present ? n.value : 1);
    switch (c) {
      case '\'':
      case '"': return n.present ? kErrNonRepeatable : quoted(c);
      case 'H': return hollerith(repeat);
      case '(': ++depth; return pushSimple(Op::GroupOpen, repeat);
      case ')':
        if (n.present) return kErrRepeatCount;
        if (depth-- > 1) return pushSimple(Op::GroupClose, 1);
        return 0;
      case '/': return pushSimple(Op::Slash, repeat);
      case ':': return n.present ? kErrNonRepeatable : pushSimple(Op::Colon, 1);
      case '$':
      case '\\': return n.present ? kErrNonRepeatable : pushSimple(Op::Dollar, 1);
      case 'A': return charOrLogical(Op::A, repeat);
      case 'L': return charOrLogical(Op::L, repeat);
      case 'B': return bDescriptor(n.present, repeat);
      case 'I': return integer(Op::I, repeat);
      case 'O': return integer(Op::O, repeat);
      case 'Z': return integer(Op::Z, repeat);
      case 'F': return real(Op::F, repeat);
      case 'D': return real(Op::D, repeat);
      case 'E': return eDescriptor(repeat);
      case 'G': return real(Op::G, repeat);
      case 'P': return pushScale(1);
      case 'Q': return qDescriptor(n.present, repeat);
      case 'S': return n.present ? kErrNonRepeatable : sDescriptor();
      case 'T': return n.present ? kErrNonRepeatable : tDescriptor();
      case 'X': return pushSimple(Op::X, repeat);
      default: --i_; return kErrFormat;  // at the letter itself
    }
  }

  int pushSimple(Op op, std::uint16_t repeat) {
    FormatEntry e;
    e.op = op;
    e.repeat = repeat;
    if (op == Op::X) e.count = repeat;
    push(e);
    return 0;
  }

  int pushScale(long k) {
    if (k < -32768 || k > 32767) return kErrFormat;
    FormatEntry e;
    e.op = Op::P;
    e.k = static_cast<std::int16_t>(k);
    push(e);
    return 0;
  }

  int pushLiteral(const std::string& text) {
    if (text.size() > kMaxCount) return kErrFormat;
    FormatEntry e;
    e.op = Op::Literal;
    e.text = static_cast<std::uint32_t>(out_.pool_.size());
    e.count = static_cast<std::uint16_t>(text.size());
    out_.pool_ += text;
    push(e);
    return 0;
  }

  int quoted(char delim) {
    std::size_t open = i_ - 1;
    std::string text;
    for (;;) {
      if (atEnd()) {
        i_ = open;  // the quote that is never closed
        return kErrUnmatchedQuotes;
      }
      char c = s_[i_++];
      if (c == delim) {
        if (atEnd() || s_[i_] != delim) break;
        ++i_;
      }
      text += c;
    }
    return pushLiteral(text);
  }

  int hollerith(std::size_t n) {
    if (s_.size() - i_ < n) {
      --i_;  // at the H
      return kErrHollerith;
    }
    std::string text(s_.substr(i_, n));
    i_ += n;
    return pushLiteral(text);
  }

  // A and L: an optional width (L's at least 1); A/L widths are 16-bit.
  int charOrLogical(Op op, std::uint16_t repeat) {
    Number w;
    if (int rc = number(w)) return rc;
    if (w.present && (w.value < (op == Op::L ? 1 : 0) || w.value > kMaxCount)) return kErrFormat;
    FormatEntry e;
    e.op = op;
    e.repeat = repeat;
    if (w.present) e.w = static_cast<std::int32_t>(w.value);
    push(e);
    return 0;
  }

  int bDescriptor(bool repeated, std::uint16_t repeat) {
    char c = peekUpper();
    if (c == 'N' || c == 'Z') {
      ++i_;
      if (repeated) return kErrRepeatCount;
      return pushSimple(c == 'N' ? Op::BN : Op::BZ, 1);
    }
    return integer(Op::B, repeat);
  }

  // A numeric width 0..127 (0 = minimal) when present.
  static int checkWidth(const Number& w, bool zeroAllowed) {
    if (!w.present) return 0;
    if (w.value < 0 || w.value > kMaxNumericWidth) return kErrFormat;
    if (w.value == 0 && !zeroAllowed) return kErrFormat;
    return 0;
  }

  // ".digits" after a width: required (mandatory) or optional.
  int digits(Number& d, bool mandatory) {
    d = {};
    if (peekUpper() != '.') return mandatory ? kErrFormat : 0;
    ++i_;
    if (int rc = number(d)) return rc;
    if (!d.present || d.value < 0 || d.value > kMaxNumericWidth) return kErrFormat;
    return 0;
  }

  int integer(Op op, std::uint16_t repeat) {
    Number w, m;
    if (int rc = number(w)) return rc;
    if (int rc = checkWidth(w, true)) return rc;
    if (w.present)
      if (int rc = digits(m, false)) return rc;
    FormatEntry e;
    e.op = op;
    e.repeat = repeat;
    if (w.present) e.w = static_cast<std::int32_t>(w.value);
    if (m.present) e.d = static_cast<std::int8_t>(m.value);
    push(e);
    return 0;
  }

  // w.d of F, D, E, ES, EN, G, then (except F) an optional Ee or De. A width
  // of 0 is the minimal width, except for D.
  int real(Op op, std::uint16_t repeat, Op family = Op::End) {
    Number w, d;
    if (int rc = number(w)) return rc;
    if (int rc = checkWidth(w, op != Op::D)) return rc;  // D0.d alone has no minimal form
    if (w.present)
      if (int rc = digits(d, true)) return rc;
    FormatEntry e;
    e.op = op;
    e.family = family == Op::End ? op : family;
    e.repeat = repeat;
    if (w.present) {
      e.w = static_cast<std::int32_t>(w.value);
      e.d = static_cast<std::int8_t>(d.value);
    }
    if (op != Op::F)
      if (int rc = exponent(e)) return rc;
    push(e);
    return 0;
  }

  int exponent(FormatEntry& e) {
    char c = peekUpper();
    if (c != 'E' && (c != 'D' || e.op == Op::D)) return 0;
    ++i_;
    Number n;
    if (int rc = number(n)) return rc;
    if (!n.present || n.value < 0 || n.value > kMaxNumericWidth) return kErrFormat;
    e.e = static_cast<std::int8_t>(n.value);
    if (c == 'D') e.op = e.op == Op::G ? Op::GExpD : Op::ExpD;
    return 0;
  }

  int eDescriptor(std::uint16_t repeat) {
    char c = peekUpper();
    if (c == 'S' || c == 'N') {
      ++i_;
      return real(c == 'S' ? Op::ES : Op::EN, repeat);
    }
    return real(Op::E, repeat);
  }

  int qDescriptor(bool repeated, std::uint16_t repeat) {
    Number w, d;
    if (int rc = number(w)) return rc;
    if (!w.present) return repeated ? kErrNonRepeatable : pushSimple(Op::Q, 1);
    if (int rc = checkWidth(w, true)) return rc;
    if (int rc = digits(d, true)) return rc;
    FormatEntry e;
    e.op = Op::QW;
    e.repeat = repeat;
    e.w = static_cast<std::int32_t>(w.value);
    e.d = static_cast<std::int8_t>(d.value);
    push(e);
    return 0;
  }

  int sDescriptor() {
    char c = peekUpper();
    if (c == 'P' || c == 'S') {
      ++i_;
      return pushSimple(c == 'P' ? Op::SP : Op::SS, 1);
    }
    if (c == ')' || c == ',') return pushSimple(Op::SS, 1);
    return kErrFormat;
  }

  int tDescriptor() {
    Op op = Op::T;
    char c = peekUpper();
    if (c == 'R' || c == 'L') {
      ++i_;
      op = c == 'R' ? Op::TR : Op::TL;
    }
    Number n;
    if (int rc = number(n)) return rc;
    if (!n.present || n.value < 0 || n.value > kMaxCount) return kErrFormat;
    FormatEntry e;
    e.op = op;
    e.count = static_cast<std::uint16_t>(n.value);
    push(e);
    return 0;
  }

  std::string_view s_;
  std::size_t i_ = 0;
  Format& out_;
};

int compileFormat(std::string_view text, Format& out) {
  out = Format();
  FormatCompiler compiler(text, out);
  try {
    out.status_ = compiler.run();
  } catch (const std::bad_alloc&) {
    out.status_ = kErrNoMemory;
  }
  out.errorOffset_ = out.status_ != 0 ? compiler.position() : 0;
  if (out.status_ != 0) {
    out.entries_.clear();
    out.pool_.clear();
    out.hasData_ = false;
  }
  return out.status_;
}

Format::Format(std::string_view text) { compileFormat(text, *this); }

}  // namespace fmtio
