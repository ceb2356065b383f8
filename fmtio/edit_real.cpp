// Output editing of real fields: F, E, D, ES, EN, G and Q.
//
// Every field starts from the value's decimal digits, correctly rounded from
// the binary value (in exact integer arithmetic where the value allows it,
// else by std::to_chars) and kept to at most 16 significant digits
// (positions beyond them are written as 0). The field is then laid out as
// named counts (leading blanks, sign, 0 before the point, digits before and
// after the point, exponent, trailing blanks) and emitted in one pass, or
// filled with w asterisks when it does not fit. Ties round to even.
//
// Where FORTRAN processors differ, this runtime does the following:
// - A negative value that rounds to zero in its field (F5.2 of -0.001, and
//   -0.0 in any form) is written without a minus sign: " 0.00".
// - NaN is written without a sign; infinity as INF, -INF, or +INF under SP.
// - A minimal width (w = 0: F0.d, E0.d, ES0.d, EN0.d, G0.d, Q0.d) writes no
//   blanks and no optional 0 before the point (F0.2 of 0.5 is ".50", E0.3 of
//   1.5 is ".150E+01", the exponent keeping its e digits); G in F form then
//   drops its trailing blanks. A minimal field longer than kMaxNumericField, which only
//   an absurd scale factor can ask for, is a single asterisk.
// - E, D and Q with a scale factor outside -d < k < d+2 have no room for a
//   significant digit, nor has G with d = 0: the field is asterisks.
// - An exponent width of 0 (Ew.dE0) writes as many exponent digits as needed.
// - The option -noleadzero affects F fields and G fields in F form only.
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "fmtio/edit_output.h"

namespace fmtio {
namespace {

constexpr int kMaxSignificant = 16;
constexpr int kMaxField = static_cast<int>(kMaxNumericField);

// Exponent -> power of ten, for the powers 10^0..10^19 that fit in 64 bits.
constexpr int kMaxPow10 = 19;
constexpr auto kPow10 = [] {
  std::array<std::uint64_t, kMaxPow10 + 1> p{1};
  for (int i = 1; i <= kMaxPow10; ++i) p[i] = p[i - 1] * 10;
  return p;
}();

// A rounded decimal value 0.d1 d2 ... dn x 10^exp; count == 0 is zero.
struct Decimal {
  char digits[kMaxSignificant];
  int count = 0;
  int exp = 0;
  // Digit i counting from d1; positions outside the kept digits are 0.
  char at(int i) const { return i >= 0 && i < count ? digits[i] : '0'; }
  bool isZero() const { return count == 0; }
};

// Fills out with n x 10^-q, n at most 10^16.
void setDigits(std::uint64_t n, int q, Decimal& out) {
  out.count = 0;
  out.exp = 0;
  if (n == 0) return;
  int dropped = 0;
  if (n == kPow10[kMaxSignificant]) {  // the one 17-digit case: keep "1"
    n = 1;
    dropped = kMaxSignificant;
  }
  char reversed[20];
  int count = 0;
  for (; n != 0; n /= 10) reversed[count++] = static_cast<char>('0' + n % 10);
  for (int i = 0; i < count; ++i) out.digits[i] = reversed[count - 1 - i];
  out.count = count;
  out.exp = count + dropped - q;
}

#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 Wide;

// a (> 0) times 10^q rounded to an integer, ties to even, computed exactly:
// a = m x 2^-s with m below 2^53, so a x 10^q = m x 10^q / 2^s, and the
// product fits in 128 bits. False when a is not below 2^53, is below about
// 2^-74, q is outside 0..19, or the result is 10^19 or more.
bool scaledInteger(double a, int q, std::uint64_t& n) {
  if (q < 0 || q > kMaxPow10) return false;
  auto bits = std::bit_cast<std::uint64_t>(a);
  int s = 1075 - static_cast<int>(bits >> 52);
  if (s < 1 || s > 127) return false;
  std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  Wide product = static_cast<Wide>(m) * kPow10[q];
  Wide whole = product >> s;
  Wide rest = product - (whole << s);
  Wide half = static_cast<Wide>(1) << (s - 1);
  if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
  if (whole >= kPow10[kMaxPow10]) return false;
  n = static_cast<std::uint64_t>(whole);
  return true;
}
#else
bool scaledInteger(double, int, std::uint64_t&) { return false; }
#endif

// Reads the to_chars scientific text "d.ddde+xx" into out.
void readScientific(const char* p, const char* last, Decimal& out) {
  out.count = 0;
  for (; *p != 'e'; ++p)
    if (*p != '.') out.digits[out.count++] = *p;
  bool negative = p[1] == '-';
  int e = 0;
  for (p += 2; p != last; ++p) e = e * 10 + (*p - '0');
  out.exp = (negative ? -e : e) + 1;
}

// A guess at exp of a (> 0) as 0.D x 10^exp from its binary exponent: the
// guess is exact or one too small.
int exponentGuess(double a) {
  int binary = static_cast<int>(std::bit_cast<std::uint64_t>(a) >> 52) - 1023;
  return ((binary * 78913) >> 18) + 1;  // floor(binary x log10(2)) + 1
}

// a (> 0) rounded to nsig (1..16) significant digits. The exact integer
// route needs the right exponent, so a guess that the result shows too
// small or too large is corrected before the digits are kept.
void roundSignificant(double a, int nsig, Decimal& out) {
  int x = exponentGuess(a);
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::uint64_t n = 0;
    if (!scaledInteger(a, nsig - x, n)) break;
    if (n < kPow10[nsig - 1]) {
      --x;
    } else if (n > kPow10[nsig]) {
      ++x;
    } else {
      setDigits(n, nsig - x, out);  // n == 10^nsig is a carry: 0.1 x 10^(x+1)
      return;
    }
  }
  char text[32];
  auto r = std::to_chars(text, text + sizeof text, a, std::chars_format::scientific, nsig - 1);
  readScientific(text, r.ptr, out);
}

bool anyNonzeroDigit(const char* p, const char* last) {
  for (; p != last; ++p)
    if (*p >= '1' && *p <= '9') return true;
  return false;
}

// True when a (> 0, below 10^x) exceeds half of 10^x, so that rounding it to
// a multiple of 10^x gives 10^x rather than 0; an exact half goes to 0 (even).
bool roundsUpToPower(double a, int x) {
  char text[400];
  if (x <= 0) {
    // Rounding to -x fraction digits: to_chars does it exactly.
    auto r = std::to_chars(text, text + sizeof text, a, std::chars_format::fixed, -x);
    return anyNonzeroDigit(text, r.ptr);
  }
  // a >= 1 has at most 52 fraction digits, so this text is its exact value.
  auto r = std::to_chars(text, text + sizeof text, a, std::chars_format::fixed, 52);
  const char* point = static_cast<const char*>(std::memchr(text, '.', r.ptr - text));
  if (point - text != x) return false;  // fewer integer digits: far below half
  if (text[0] != '5') return text[0] > '5';
  return anyNonzeroDigit(text + 1, r.ptr);
}

// a (> 0) rounded to a multiple of 10^-q, keeping at most 16 significant
// digits. The first rounding to 16 digits finds the leading position; should
// it have carried into the next power of ten, every coarser rounding carries
// too, so the position it gives is still the right one to count from.
void roundAtPosition(double a, int q, Decimal& out) {
  std::uint64_t n = 0;
  if (scaledInteger(a, q, n) && n < kPow10[kMaxSignificant]) {
    setDigits(n, q, out);
    return;
  }
  roundSignificant(a, kMaxSignificant, out);
  int nsig = out.exp + q;
  if (nsig >= kMaxSignificant) return;
  if (nsig >= 1) {
    roundSignificant(a, nsig, out);
    return;
  }
  bool up = nsig == 0 && roundsUpToPower(a, out.exp);
  out.count = up ? 1 : 0;
  out.digits[0] = '1';
  out.exp = up ? out.exp + 1 : 0;
}

// One real field: [blanks][sign][0][digits].[digits][exponent][blanks].
struct Layout {
  char sign = 0;              // '-', '+' or none
  bool zero = false;          // a 0 before the point
  bool optionalZero = false;  // the 0 goes in when a column is free for it
  int before = 0;             // digits before the point
  int after = 0;              // digits after the point
  int first = 0;              // Decimal index of the first digit written
  int expDigits = -1;         // exponent digits; -1 for no exponent part
  char letter = 0;            // exponent letter, or none
  int exponent = 0;           // value of the exponent
  int trailing = 0;           // blanks after the field (G in F form)

  int width() const {
    int exponentPart = expDigits < 0 ? 0 : (letter ? 2 : 1) + expDigits;
    return (sign ? 1 : 0) + (zero ? 1 : 0) + before + 1 + after + exponentPart + trailing;
  }
};

// Writes n copies of c at p; returns the position after them.
char* fill(char* p, int n, char c) {
  if (n <= 0) return p;
  std::memset(p, c, static_cast<std::size_t>(n));
  return p + n;
}

std::size_t asterisks(char* dst, int w) {
  if (w <= 0) w = 1;
  if (w > kMaxField) w = kMaxField;
  return static_cast<std::size_t>(fill(dst, w, '*') - dst);
}

int decimalDigits(int n) {
  int count = 1;
  for (; n >= 10; n /= 10) ++count;
  return count;
}

// Sets an exponent part of e digits; false when the exponent does not fit.
bool setExponent(Layout& l, char letter, int e, int exponent) {
  int magnitude = exponent < 0 ? -exponent : exponent;
  int digits = decimalDigits(magnitude);
  if (e == 0) e = digits;
  if (digits > e) {
    if (e != 2 || digits != 3) return false;
    letter = 0;  // 0.1234+105: three digits take the letter's column
    e = 3;
  }
  l.letter = letter;
  l.expDigits = e;
  l.exponent = exponent;
  return true;
}

char* writeExponent(char* p, const Layout& l) {
  if (l.letter) *p++ = l.letter;
  *p++ = l.exponent < 0 ? '-' : '+';
  int magnitude = l.exponent < 0 ? -l.exponent : l.exponent;
  char* end = p + l.expDigits;
  for (char* q = end; q != p; magnitude /= 10) *--q = static_cast<char>('0' + magnitude % 10);
  return end;
}

// Emits the field laid out in l with the digits of v in w columns.
std::size_t emit(char* dst, int w, Layout& l, const Decimal& v) {
  int need = l.width();
  if (l.optionalZero && w > need) {
    l.zero = true;
    ++need;
  }
  if (w == 0) {
    if (need > kMaxField) return asterisks(dst, 1);
    w = need;
  }
  if (need > w || w > kMaxField) return asterisks(dst, w);
  char* p = fill(dst, w - need, ' ');
  if (l.sign) *p++ = l.sign;
  if (l.zero) *p++ = '0';
  int i = l.first;
  for (int n = 0; n < l.before; ++n) *p++ = v.at(i++);
  *p++ = '.';
  for (int n = 0; n < l.after; ++n) *p++ = v.at(i++);
  if (l.expDigits >= 0) p = writeExponent(p, l);
  p = fill(p, l.trailing, ' ');
  return static_cast<std::size_t>(p - dst);
}

// What every real edit needs to know about its field and value.
struct RealField {
  int w;
  int d;
  int e;
  char letter;       // exponent letter
  bool negative;     // sign bit of the value
  double magnitude;  // |value|, finite
  const OutputModes& modes;
};

char signOf(const RealField& f, bool nonzero) {
  if (f.negative && nonzero) return '-';
  return f.modes.plusSign ? '+' : 0;
}

// The F form of v (scale already applied) with `fraction` digits after the point.
void layoutFixed(Layout& l, const Decimal& v, int fraction, bool noLeadZero) {
  l.before = v.exp > 0 ? v.exp : 0;
  l.after = fraction;
  l.first = v.exp - l.before;
  if (l.before > 0) return;
  if (fraction == 0) {
    l.zero = true;  // "0." for a value that rounds to zero
  } else {
    l.optionalZero = !noLeadZero;
  }
}

// Fw.d: the value times 10^k rounded to d fraction digits.
std::size_t editFixed(char* dst, const RealField& f) {
  int k = f.modes.scale;
  Decimal v;
  if (f.magnitude != 0) roundAtPosition(f.magnitude, f.d + k, v);
  if (!v.isZero()) v.exp += k;
  Layout l;
  l.sign = signOf(f, !v.isZero());
  layoutFixed(l, v, f.d, f.modes.noLeadZero);
  return emit(dst, f.w, l, v);
}

// Decimal v of a value rounded to nsig significant digits (capped at 16).
Decimal significant(const RealField& f, int nsig) {
  Decimal v;
  if (f.magnitude != 0) roundSignificant(f.magnitude, nsig < kMaxSignificant ? nsig : 16, v);
  return v;
}

// Ew.d, Dw.d, Qw.d: with scale factor k <= 0 the point is followed by -k
// zeros and d+k significant digits, with k > 0 k digits stand before the
// point and d-k+1 after it.
std::size_t editExponential(char* dst, const RealField& f) {
  int k = f.modes.scale;
  if (k <= -f.d || k >= f.d + 2) return asterisks(dst, f.w);
  Decimal v = significant(f, k > 0 ? f.d + 1 : f.d + k);
  Layout l;
  l.sign = signOf(f, !v.isZero());
  if (k > 0) {
    l.before = k;
    l.after = f.d - k + 1;
  } else {
    l.after = f.d;
    l.first = k;  // negative indices read as the -k zeros
    l.optionalZero = true;
  }
  if (!setExponent(l, f.letter, f.e, v.isZero() ? 0 : v.exp - k)) return asterisks(dst, f.w);
  return emit(dst, f.w, l, v);
}

// ESw.d: one nonzero digit before the point; the scale factor has no effect.
std::size_t editScientific(char* dst, const RealField& f) {
  Decimal v = significant(f, f.d + 1);
  Layout l;
  l.sign = signOf(f, !v.isZero());
  l.before = 1;
  l.after = f.d;
  if (!setExponent(l, f.letter, f.e, v.isZero() ? 0 : v.exp - 1)) return asterisks(dst, f.w);
  return emit(dst, f.w, l, v);
}

// Digits before the point in engineering notation for 0.D x 10^exp.
int engineeringLead(int exp) {
  int r = (exp - 1) % 3;
  return (r < 0 ? r + 3 : r) + 1;
}

// ENw.d: one to three digits before the point and an exponent that is a
// multiple of 3; the scale factor has no effect. A rounding that carries
// (999.96 in EN9.1) moves the value to the next group of three.
std::size_t editEngineering(char* dst, const RealField& f) {
  Decimal v;
  int before = 1;
  if (f.magnitude != 0) {
    roundSignificant(f.magnitude, kMaxSignificant, v);
    int nsig = engineeringLead(v.exp) + f.d;
    if (nsig < kMaxSignificant) roundSignificant(f.magnitude, nsig, v);
    before = engineeringLead(v.exp);
  }
  Layout l;
  l.sign = signOf(f, !v.isZero());
  l.before = before;
  l.after = f.d;
  if (!setExponent(l, f.letter, f.e, v.isZero() ? 0 : v.exp - before)) return asterisks(dst, f.w);
  return emit(dst, f.w, l, v);
}

// Gw.d: a value that rounds to d significant digits in 0.1 <= N < 10^d is
// written as F(w-n).(d-i) followed by n = e+2 blanks, i its integer digits,
// without the scale factor; zero as F(w-n).(d-1); any other value as Ew.d.
std::size_t editGeneral(char* dst, const RealField& f) {
  if (f.d == 0) return asterisks(dst, f.w);
  Decimal v = significant(f, f.d);
  int fraction = f.d - 1;
  if (!v.isZero()) {
    if (v.exp < 0 || v.exp > f.d) return editExponential(dst, f);
    fraction = f.d - v.exp;
  }
  Layout l;
  l.sign = signOf(f, !v.isZero());
  layoutFixed(l, v, fraction, f.modes.noLeadZero);
  l.trailing = f.w == 0 ? 0 : f.e + 2;
  return emit(dst, f.w, l, v);
}

// NaN and infinity, right-justified; asterisks in fewer than 3 columns (4 with a sign).
std::size_t editSpecial(char* dst, int w, double value, const OutputModes& modes) {
  bool nan = std::isnan(value);
  char sign = nan ? 0 : std::signbit(value) ? '-' : modes.plusSign ? '+' : 0;
  int need = sign ? 4 : 3;
  if (w == 0) w = need;
  if (w < need || w > kMaxField) return asterisks(dst, w);
  char* p = fill(dst, w - need, ' ');
  if (sign) *p++ = sign;
  std::memcpy(p, nan ? "NaN" : "INF", 3);
  return static_cast<std::size_t>(w);
}

}  // namespace

std::size_t editReal(char* dst, Op op, Op family, int w, int d, int e, double value,
                     const OutputModes& modes) {
  if (!std::isfinite(value)) return editSpecial(dst, w, value, modes);
  RealField f{w, d < 0 ? 0 : d, e < 0 ? 2 : e, 'E', std::signbit(value), std::fabs(value), modes};
  switch (op) {
    case Op::F: return editFixed(dst, f);
    case Op::ES: return editScientific(dst, f);
    case Op::EN: return editEngineering(dst, f);
    case Op::G: return editGeneral(dst, f);
    case Op::GExpD: f.letter = 'D'; return editGeneral(dst, f);
    case Op::D: f.letter = 'D'; return editExponential(dst, f);
    case Op::QW: f.letter = 'Q'; return editExponential(dst, f);
    case Op::ExpD:
      f.letter = 'D';
      if (family == Op::ES) return editScientific(dst, f);
      if (family == Op::EN) return editEngineering(dst, f);
      return editExponential(dst, f);
    default: return editExponential(dst, f);
  }
}

}  // namespace fmtio
