// Input editing of numeric and logical fields.
//
// Integers are accumulated in an unsigned 64-bit value with a range check on
// every digit, so nothing ever wraps. Reals are taken apart into their
// significant digits and a power of ten, written out again as a clean
// "digits e exponent" text in a stack buffer and converted once with
// std::from_chars in the item's own precision, which gives the correctly
// rounded value with no double rounding and no heap allocation.
#include "fmtio/edit_input.h"

#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <system_error>

#include "fmtio/errors.h"
#include "fmtio/records.h"

namespace fmtio {
namespace {

std::size_t skipBlanks(std::string_view s, std::size_t i) {
  while (i < s.size() && isBlank(s[i])) ++i;
  return i;
}

// skipBlanks for a field of at most eight characters, the width of every
// data-file field, without a branch per character: the field is one word,
// the bytes past its end zero (not blanks), and the first byte that is
// neither a blank nor a tab is found from the word's bits. Wider fields,
// and machines that do not store the first character in the lowest byte,
// take the loop.
// The first of the word's first n bytes (n at most 8) that is neither a
// blank nor a tab, or n; the bytes past n may hold anything.
std::size_t firstNonBlank(std::uint64_t word, std::size_t n) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
  // The high bit of each byte set exactly when the byte is not zero.
  auto nonZero = [](std::uint64_t x) { return (((x & kLow7) + kLow7) | x) & ~kLow7; };
  const std::uint64_t kept = nonZero(word ^ (kOnes * ' ')) & nonZero(word ^ (kOnes * '\t'));
  if (kept == 0) return n;  // only for a field of eight blanks
  const auto first = static_cast<std::size_t>(std::countr_zero(kept)) / 8;
  return first < n ? first : n;
}

std::size_t skipLeadingBlanks(std::string_view s) {
  if constexpr (std::endian::native == std::endian::little) {
    if (s.size() <= sizeof(std::uint64_t)) {
      if (s.empty()) return 0;
      std::uint64_t word = 0;
      std::memcpy(&word, s.data(), s.size());
      return firstNonBlank(word, s.size());
    }
  }
  return skipBlanks(s, 0);
}

// skipLeadingBlanks for a field of at most eight characters whose eight
// bytes from its start may all be read (the record goes on past it): one
// load of a whole word instead of a copy of as many bytes as the field has.
// The bytes past the field need no masking: they come after every byte of
// the field, and a first non-blank among them is n.
std::size_t skipLeadingBlanksReadable(std::string_view s) {
  if constexpr (std::endian::native == std::endian::little) {
    if (!s.empty() && s.size() <= sizeof(std::uint64_t)) {
      std::uint64_t word;
      std::memcpy(&word, s.data(), sizeof word);
      return firstNonBlank(word, s.size());
    }
  }
  return skipLeadingBlanks(s);
}

// Value of a digit character in base 2, 8, 10 or 16, or -1 when it is not one.
int digitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  return v < base ? v : -1;
}

// Largest magnitude an integer of `bytes` bytes accepts: the signed range for
// I, the whole unsigned bit pattern for B, O and Z.
std::uint64_t integerLimit(int base, int bytes, bool negative) {
  int bits = 8 * bytes;
  if (base != 10) return bits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
  std::uint64_t half = std::uint64_t{1} << (bits - 1);
  return negative ? half : half - 1;
}

// The bit pattern of a B, O or Z value as a signed integer of `bytes` bytes.
std::int64_t signExtend(std::uint64_t value, int bytes) {
  int bits = 8 * bytes;
  if (bits < 64 && value >= (std::uint64_t{1} << (bits - 1))) value -= std::uint64_t{1} << bits;
  return static_cast<std::int64_t>(value);  // modular, as the item's storage holds it
}

// Significant digits kept for a real: enough for the exact halfway point of
// any double, so the sticky digit that stands for the rest cannot change the
// rounding.
constexpr int kMaxDigits = 800;
// An exponent beyond this is infinity or zero in every precision.
constexpr long long kExponentCap = 1000000;

// A real field taken apart: value = sign * digits * 10^exponent.
struct Decimal {
  enum class Kind : std::uint8_t { Number, Infinity, NaN };
  Kind kind = Kind::Number;
  bool negative = false;
  int count = 0;           // significant digits held in text
  long long exponent = 0;  // power of ten of the last held digit
  char text[kMaxDigits + 32];
};

// What the mantissa scan has seen so far.
struct Mantissa {
  bool point = false;
  bool digits = false;     // any digit at all, leading zeros included
  long long fraction = 0;  // digits written after the point
  long long dropped = 0;   // significant digits beyond kMaxDigits
  bool sticky = false;     // a non-zero digit was among the dropped ones
};

void addDigit(char c, Mantissa& m, Decimal& out) {
  m.digits = true;
  if (m.point) ++m.fraction;
  if (out.count == 0 && c == '0') return;  // leading zeros carry no value
  if (out.count < kMaxDigits) {
    out.text[out.count++] = c;
    return;
  }
  ++m.dropped;
  if (c != '0') m.sticky = true;
}

bool equalsUpper(std::string_view s, std::string_view upper) {
  if (s.size() != upper.size()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upper[i]) return false;
  }
  return true;
}

// INF, INFINITY, NAN or NAN(chars) in either case, trailing blanks allowed.
int readSpecial(std::string_view s, Decimal& out) {
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  if (equalsUpper(s, "INF") || equalsUpper(s, "INFINITY")) {
    out.kind = Decimal::Kind::Infinity;
    return 0;
  }
  bool payload = s.size() >= 5 && equalsUpper(s.substr(0, 4), "NAN(") && s.back() == ')';
  if (payload) {
    for (char c : s.substr(4, s.size() - 5)) {
      bool alnum = digitValue(c, 10) >= 0 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      if (!alnum && c != '_') return kErrIllegalChar;
    }
  }
  if (!payload && !equalsUpper(s, "NAN")) return kErrIllegalChar;
  out.kind = Decimal::Kind::NaN;
  return 0;
}

// Exponent digits from s[i] on (after its letter or at its sign); 0 or 10016.
int readExponent(std::string_view s, std::size_t i, BlankMode blank, long long& exponent) {
  bool isLetter = s[i] != '+' && s[i] != '-';
  if (isLetter) ++i;
  while (isLetter && blank == BlankMode::Null && i < s.size() && isBlank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  bool digits = false;
  long long value = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (isBlank(c)) {
      if (blank == BlankMode::Null) continue;
      c = '0';
    }
    int v = digitValue(c, 10);
    if (v < 0) return kErrIllegalChar;
    digits = true;
    if (value < kExponentCap) value = value * 10 + v;
  }
  if (!digits) return kErrIllegalChar;
  exponent = negative ? -value : value;
  return 0;
}

bool isExponentStart(char c) {
  switch (c) {
    case 'E':
    case 'e':
    case 'D':
    case 'd':
    case 'Q':
    case 'q':
    case '+':
    case '-': return true;
    default: return false;
  }
}

// Mantissa and exponent of a field whose sign has been read; 0 or 10016.
int readNumber(std::string_view s, std::size_t i, int d, int scale, BlankMode blank, Decimal& out) {
  Mantissa m;
  bool hasExponent = false;
  long long exponent = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (isBlank(c)) {
      if (blank == BlankMode::Null) continue;
      c = '0';
    }
    if (c >= '0' && c <= '9') {
      addDigit(c, m, out);
    } else if (c == '.' && !m.point) {
      m.point = true;
    } else if (isExponentStart(c)) {
      if (int status = readExponent(s, i, blank, exponent)) return status;
      hasExponent = true;
      break;
    } else {
      return kErrIllegalChar;
    }
  }
  if (!m.digits) return kErrIllegalChar;
  long long fraction = m.point ? m.fraction : (d > 0 ? d : 0);
  out.exponent = m.dropped - fraction + (hasExponent ? exponent : -static_cast<long long>(scale));
  if (m.sticky) {
    out.text[out.count++] = '1';
    --out.exponent;
  }
  return 0;
}

// Takes a numeric field apart; an empty field is zero.
int parseReal(std::string_view field, int d, int scale, BlankMode blank, Decimal& out) {
  std::size_t i = skipBlanks(field, 0);
  if (i == field.size()) return 0;
  if (field[i] == '+' || field[i] == '-') out.negative = field[i++] == '-';
  if (i < field.size()) {
    char c = field[i];
    if (c == 'I' || c == 'i' || c == 'N' || c == 'n') return readSpecial(field.substr(i), out);
  }
  return readNumber(field, i, d, scale, blank, out);
}

// Exact powers of ten of each precision, for the fast path below.
template <class T>
struct ExactPowers;
template <>
struct ExactPowers<float> {
  static constexpr int kMaxDigits = 7;  // below 2^24: every such integer is exact
  static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                      1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
};
template <>
struct ExactPowers<double> {
  static constexpr int kMaxDigits = 15;  // below 2^53
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
};

// Few digits and a small exponent: the mantissa and the power of ten are both
// exact in T, so one multiplication or division rounds correctly.
template <class T>
bool convertExactly(const Decimal& in, T& value) {
  constexpr long long kMaxExponent = std::size(ExactPowers<T>::kPowers) - 1;
  if (in.count > ExactPowers<T>::kMaxDigits || in.exponent > kMaxExponent ||
      in.exponent < -kMaxExponent)
    return false;
  std::uint64_t mantissa = 0;
  for (int i = 0; i < in.count; ++i)
    mantissa = mantissa * 10 + static_cast<unsigned>(in.text[i] - '0');
  auto m = static_cast<T>(mantissa);
  value = in.exponent >= 0 ? m * ExactPowers<T>::kPowers[in.exponent]
                           : m / ExactPowers<T>::kPowers[-in.exponent];
  return true;
}

// Converts the clean text once in the target precision. A value beyond the
// largest finite number is 10016 rather than a silent infinity; one below
// the smallest subnormal is a signed zero.
template <class T>
int convert(Decimal& in, T& out) {
  using Limits = std::numeric_limits<T>;
  T value = 0;
  if (in.kind == Decimal::Kind::Infinity) {
    value = Limits::infinity();
  } else if (in.kind == Decimal::Kind::NaN) {
    value = Limits::quiet_NaN();
  } else if (in.count > 0 && !convertExactly(in, value)) {
    char* end = in.text + in.count;
    *end++ = 'e';
    end = std::to_chars(end, in.text + sizeof in.text, in.exponent).ptr;
    std::from_chars_result r = std::from_chars(in.text, end, value);
    if (r.ec == std::errc::result_out_of_range) {
      if (in.count + in.exponent > 0) return kErrIllegalChar;
      value = 0;
    } else if (r.ec != std::errc()) {
      return kErrIllegalChar;
    }
  }
  out = in.negative ? -value : value;
  return 0;
}

// Digits from field[i] on, added to the mantissa; i ends at the first
// character that is not a digit. Returns how many were taken.
std::size_t takeDigits(std::string_view field, std::size_t& i, std::uint64_t& mantissa) {
  const std::size_t first = i;
  for (; i < field.size(); ++i) {
    const unsigned v = static_cast<unsigned char>(field[i]) - unsigned{'0'};
    if (v > 9) break;
    mantissa = mantissa * 10 + v;  // past 19 digits it wraps, and the caller refuses the field
  }
  return i - first;
}

// The value of a plain field from its digits (as one integer) and the
// digits after its point; false when the power of ten is not exact in T.
template <class T>
bool plainValue(std::uint64_t mantissa, long long fraction, int scale, bool negative, T& out) {
  constexpr long long kMaxExponent = std::size(ExactPowers<T>::kPowers) - 1;
  const long long exponent = -fraction - scale;
  if (exponent > kMaxExponent || exponent < -kMaxExponent) return false;
  const auto m = static_cast<T>(mantissa);
  const T value = exponent >= 0 ? m * ExactPowers<T>::kPowers[exponent]
                                : m / ExactPowers<T>::kPowers[-exponent];
  out = negative ? -value : value;
  return true;
}

// The fast path of the fields data files are made of: leading blanks, an
// optional sign and nothing but digits with at most one point, few enough
// digits (leading zeros included) to be exact in T, and a power of ten (from
// the digits after the point, or the implied d, and the scale factor) that is
// exact in T too. The value is the one convertExactly gives for the same
// digits and exponent; any other field (an exponent, an inner or trailing
// blank, a sign or point without digits, more digits) returns false and takes
// the general path.
template <class T, bool kReadable = false>
[[gnu::always_inline]] inline bool readPlainDecimal(std::string_view field, int d, int scale,
                                                    T& out) {
  std::size_t i = kReadable ? skipLeadingBlanksReadable(field) : skipLeadingBlanks(field);
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  std::uint64_t mantissa = 0;
  std::size_t count = takeDigits(field, i, mantissa);
  long long fraction = d > 0 ? d : 0;
  if (i < field.size() && field[i] == '.') {
    ++i;
    const std::size_t after = takeDigits(field, i, mantissa);
    fraction = static_cast<long long>(after);
    count += after;
  }
  if (i != field.size() || count == 0 || count > ExactPowers<T>::kMaxDigits) return false;
  return plainValue(mantissa, fraction, scale, negative, out);
}

template <class T>
int readRealGeneralAs(std::string_view field, int d, int scale, BlankMode blank, T& out) {
  Decimal decimal;
  if (int status = parseReal(field, d, scale, blank, decimal)) return status;
  return convert(decimal, out);
}

template <class T>
int readRealAs(std::string_view field, int d, int scale, BlankMode blank, T& out) {
  if (readPlainDecimal(field, d, scale, out)) return 0;
  return readRealGeneralAs(field, d, scale, blank, out);
}

template <class T>
int readRealInRecordAs(std::string_view field, int d, int scale, BlankMode blank, T& out) {
  if (readPlainDecimal<T, true>(field, d, scale, out)) return 0;
  return readRealGeneralAs(field, d, scale, blank, out);
}

// readRealFields for one precision: each field read in the loop itself,
// the plain fast path inlined.
template <class T>
std::size_t readRealFieldsAs(std::string_view record, std::size_t w, std::size_t n, int d,
                             int scale, BlankMode blank, char* elements, std::size_t length,
                             int& status) {
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t at = k * w;
    const std::string_view field = record.substr(at, w);
    T v = 0;
    // Eight bytes from the field's start lie in the record: the field may
    // be read as one word.
    const bool plain = record.size() - at >= 8 ? readPlainDecimal<T, true>(field, d, scale, v)
                                               : readPlainDecimal<T>(field, d, scale, v);
    if (!plain) status = readRealGeneralAs(field, d, scale, blank, v);
    if (status != 0) return k + 1;
    std::memcpy(elements + k * length, &v, sizeof v);
  }
  return n;
}

}  // namespace

// A sign needs at least one digit after it. B, O and Z take no sign and
// return the bit pattern sign-extended from `bytes` bytes ("FF" in a 1-byte
// Z field is -1), so storing the low bytes gives the pattern written.
int readInteger(std::string_view field, int base, BlankMode blank, int bytes, std::int64_t& out) {
  if (bytes < 1 || bytes > 8) bytes = 8;
  std::size_t i = skipBlanks(field, 0);
  bool negative = false;
  bool sign = i < field.size() && base == 10 && (field[i] == '+' || field[i] == '-');
  if (sign) negative = field[i++] == '-';
  const auto radix = static_cast<std::uint64_t>(base);
  const std::uint64_t limit = integerLimit(base, bytes, negative);
  const std::uint64_t cutoff = limit / radix;  // larger values cannot take another digit
  std::uint64_t value = 0;
  bool digits = false;
  for (; i < field.size(); ++i) {
    int v = 0;
    if (isBlank(field[i])) {
      if (blank == BlankMode::Null) continue;
    } else if ((v = digitValue(field[i], base)) < 0) {
      return kErrIllegalChar;
    }
    auto digit = static_cast<std::uint64_t>(v);
    if (value > cutoff || (value == cutoff && digit > limit % radix)) return kErrIllegalChar;
    value = value * radix + digit;
    digits = true;
  }
  if (sign && !digits) return kErrIllegalChar;
  if (base != 10)
    out = signExtend(value, bytes);
  else
    out = negative ? static_cast<std::int64_t>(0 - value) : static_cast<std::int64_t>(value);
  return 0;
}

int readReal(std::string_view field, int d, int scale, BlankMode blank, double& out) {
  return readRealAs(field, d, scale, blank, out);
}

int readReal(std::string_view field, int d, int scale, BlankMode blank, float& out) {
  return readRealAs(field, d, scale, blank, out);
}

int readRealInRecord(std::string_view field, int d, int scale, BlankMode blank, double& out) {
  return readRealInRecordAs(field, d, scale, blank, out);
}

int readRealInRecord(std::string_view field, int d, int scale, BlankMode blank, float& out) {
  return readRealInRecordAs(field, d, scale, blank, out);
}

std::size_t readRealFields(std::string_view record, std::size_t w, std::size_t n, int d, int scale,
                           BlankMode blank, double* elements, std::size_t length, int& status) {
  return readRealFieldsAs<double>(record, w, n, d, scale, blank, reinterpret_cast<char*>(elements),
                                  length, status);
}

std::size_t readRealFields(std::string_view record, std::size_t w, std::size_t n, int d, int scale,
                           BlankMode blank, float* elements, std::size_t length, int& status) {
  return readRealFieldsAs<float>(record, w, n, d, scale, blank, reinterpret_cast<char*>(elements),
                                 length, status);
}

int readRealGeneral(std::string_view field, int d, int scale, BlankMode blank, double& out) {
  return readRealGeneralAs(field, d, scale, blank, out);
}

int readRealGeneral(std::string_view field, int d, int scale, BlankMode blank, float& out) {
  return readRealGeneralAs(field, d, scale, blank, out);
}

bool readLogical(std::string_view field) {
  std::size_t i = skipBlanks(field, 0);
  if (i < field.size() && field[i] == '.') ++i;
  return i < field.size() && (field[i] == 'T' || field[i] == 't');
}

}  // namespace fmtio
