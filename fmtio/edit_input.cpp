// Input editing of numeric and logical fields.
//
// Integers are accumulated in an unsigned 64-bit value with a range check on
// every digit, so nothing ever wraps. Reals are taken apart into their
// significant digits and a power of ten, written out again as a clean
// "digits e exponent" text in a stack buffer and converted once with
// std::from_chars in the item's own precision, which gives the correctly
// rounded value with no double rounding and no heap allocation.
#include "fmtio/edit_input.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <system_error>
#include <type_traits>
#include <utility>

#include "fmtio/errors.h"
#include "fmtio/records.h"

namespace fmtio {
namespace {

std::size_t skipBlanks(std::string_view s, std::size_t i) {
  while (i < s.size() && isBlank(s[i])) ++i;
  return i;
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

// The power of ten the digits of a plain field are scaled by: 10^exponent,
// exact in T, applied as one multiplication or division, which rounds
// correctly because the digits are exact in T too.
template <class T>
struct ExactScale {
  bool exact = false;  // the power is exact in T
  bool divide = false;
  T power = 1;
  T apply(std::uint64_t mantissa) const {
    const auto m = static_cast<T>(mantissa);
    return divide ? m / power : m * power;
  }
};

template <class T>
ExactScale<T> exactScale(long long exponent) {
  constexpr long long kMaxExponent = std::size(ExactPowers<T>::kPowers) - 1;
  ExactScale<T> s;
  s.exact = exponent <= kMaxExponent && exponent >= -kMaxExponent;
  s.divide = exponent < 0;
  if (s.exact) s.power = ExactPowers<T>::kPowers[s.divide ? -exponent : exponent];
  return s;
}

// The power of a field without a point: d implied digits and the scale factor.
template <class T>
ExactScale<T> impliedScale(int d, int scale) {
  return exactScale<T>(-static_cast<long long>(d > 0 ? d : 0) - scale);
}

// The fast path of the fields data files are made of: leading blanks, an
// optional sign and nothing but digits with at most one point, few enough
// digits (leading zeros included) to be exact in T, and a power of ten (from
// the digits after the point, or the implied d, and the scale factor) that is
// exact in T too. The value is the one convertExactly gives for the same
// digits and exponent; any other field (an exponent, an inner or trailing
// blank, a sign or point without digits, more digits) returns false and takes
// the general path.
template <class T>
bool readPlainDecimal(std::string_view field, int d, int scale, T& out) {
  std::size_t i = skipBlanks(field, 0);
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
  const ExactScale<T> s = exactScale<T>(-fraction - scale);
  if (!s.exact) return false;
  const T value = s.apply(mantissa);
  out = negative ? -value : value;
  return true;
}

// Fields of at most eight characters, the width of every data-file field,
// are first tried as one word, the first character in the lowest byte,
// without a branch per character: each kind of byte is told by a flag in
// the high bit of the byte, computed for all of them at once. The bytes
// past the field may hold anything (the next field, or zeros): the flags of
// the field's bytes alone are looked at. A run of fields is read by place
// tables instead (below).
constexpr std::size_t kWordBytes = sizeof(std::uint64_t);

// Whether fields of this width are read as words on this machine: it keeps
// the first character of a word in its lowest byte.
constexpr bool wordWide(std::size_t w) {
  return std::endian::native == std::endian::little && w > 0 && w <= kWordBytes;
}

// A byte repeated in every byte of a word.
template <class Word>
constexpr Word everyByte(unsigned char byte) {
  return static_cast<Word>(static_cast<Word>(~Word{0}) / 0xFF * byte);
}

// The value of the digits of eight bytes of 0..9, the last digit in the
// highest byte: pairs, then fours, then the eight, each step one multiply.
constexpr std::uint64_t digitsValue(std::uint64_t v) {
  constexpr std::uint64_t kPairs = 0x000000FF000000FFu;
  constexpr std::uint64_t kHundredsAndMillions = 100 + (std::uint64_t{1000000} << 32);
  constexpr std::uint64_t kOnesAndTenThousands = 1 + (std::uint64_t{10000} << 32);
  v = v * 10 + (v >> 8);
  return ((v & kPairs) * kHundredsAndMillions + ((v >> 16) & kPairs) * kOnesAndTenThousands) >> 32;
}

// What the fields of one width share.
template <class Word>
struct WordShape {
  Word field;        // the flags of its bytes
  unsigned shift;    // moves its last byte to the word's highest
  bool eightDigits;  // it is eight wide: eight digits are possible
};

template <class Word>
constexpr WordShape<Word> wordShape(std::size_t w) {
  const Word field = w == sizeof(Word) ? everyByte<Word>(0x80)
                                       : everyByte<Word>(0x80) & ((Word{1} << (8 * w)) - 1);
  return {field, static_cast<unsigned>(8 * (sizeof(Word) - w)), w == 8};
}

// The commonest field: blanks and then digits up to its end (or blanks
// alone, which read as 0). Their value; false for a field of any other form
// (a sign, a point, a tab, an inner or trailing blank), which the byte loop
// reads.
template <class Word>
[[gnu::always_inline]] inline bool readDigitsWord(Word word, const WordShape<Word>& shape,
                                                  std::uint64_t& value) {
  // With '0' taken away a digit's byte is its value, and a byte is a digit
  // when it is below 10: its high bit clear, and its low seven bits plus
  // 0x76 short of 0x80 (the sum stays inside the byte).
  const Word x = word ^ everyByte<Word>('0');
  const Word digits =
      static_cast<Word>(~(((x & everyByte<Word>(0x7F)) + everyByte<Word>(0x80 - 10)) | x)) &
      shape.field;
  // The other bytes of the field stand before the first digit (all of them
  // when there is none), and each of them is a blank.
  const Word others = shape.field ^ digits;
  const Word first = digits & static_cast<Word>(Word{0} - digits);
  const Word otherBytes = static_cast<Word>((others >> 7) * 0xFF);
  if (others > static_cast<Word>(first - 1) || ((word ^ everyByte<Word>(' ')) & otherBytes) != 0)
    return false;
  // A blank's byte, 0x10 here, has no low bits: only the digits count.
  value = digitsValue(static_cast<Word>((x & everyByte<Word>(0x0F)) << shape.shift));
  return true;
}

// The same, digits few enough to be exact in T: eight digits are too many
// for a float.
template <class T, class Word>
[[gnu::always_inline]] inline bool readExactDigitsWord(Word word, const WordShape<Word>& shape,
                                                       std::uint64_t& value) {
  constexpr bool kEightExact = ExactPowers<T>::kMaxDigits >= 8;
  if (!kEightExact && sizeof(Word) == kWordBytes && shape.eightDigits &&
      static_cast<unsigned char>(word) - unsigned{'0'} <= 9)
    return false;
  return readDigitsWord(word, shape, value);
}

// The word of a field of one to eight characters, the bytes past it zero:
// two loads of four that overlap in the middle, or for fewer than four its
// first, middle and last characters (the same character when it is one),
// instead of a copy of as many bytes as it has.
inline std::uint64_t copiedWord(std::string_view field) {
  const std::size_t n = field.size();
  const auto* p = reinterpret_cast<const unsigned char*>(field.data());
  if (n >= 4) {
    std::uint32_t first, last;
    std::memcpy(&first, p, sizeof first);
    std::memcpy(&last, p + n - 4, sizeof last);
    return first | (std::uint64_t{last} << (8 * (n - 4)));
  }
  const std::size_t middle = n / 2;
  return std::uint64_t{p[0]} | (std::uint64_t{p[middle]} << (8 * middle)) |
         (std::uint64_t{p[n - 1]} << (8 * (n - 1)));
}

template <class T>
int readRealGeneralAs(std::string_view field, int d, int scale, BlankMode blank, T& out) {
  Decimal decimal;
  if (int status = parseReal(field, d, scale, blank, decimal)) return status;
  return convert(decimal, out);
}

// A field whose word is given: the word path, the byte loop, the general parse.
template <class T>
int readRealWord(std::uint64_t word, std::string_view field, int d, int scale, BlankMode blank,
                 T& out) {
  std::uint64_t value;
  const ExactScale<T> s = impliedScale<T>(d, scale);
  if (s.exact && readExactDigitsWord<T>(word, wordShape<std::uint64_t>(field.size()), value)) {
    out = s.apply(value);
    return 0;
  }
  if (readPlainDecimal(field, d, scale, out)) return 0;
  return readRealGeneralAs(field, d, scale, blank, out);
}

template <class T>
int readRealAs(std::string_view field, int d, int scale, BlankMode blank, T& out) {
  if (wordWide(field.size())) return readRealWord(copiedWord(field), field, d, scale, blank, out);
  if (readPlainDecimal(field, d, scale, out)) return 0;
  return readRealGeneralAs(field, d, scale, blank, out);
}

template <class T>
int readRealInRecordAs(std::string_view field, int d, int scale, BlankMode blank, T& out) {
  if (!wordWide(field.size())) return readRealAs(field, d, scale, blank, out);
  std::uint64_t word;
  std::memcpy(&word, field.data(), sizeof word);
  return readRealWord(word, field, d, scale, blank, out);
}

// One field by the byte loop and else the general parse, its value stored
// at element; 0 or the error. Out of line: the word loop keeps its
// registers.
template <class T>
[[gnu::noinline]] int readFieldByBytes(std::string_view field, int d, int scale, BlankMode blank,
                                       char* element) {
  T v = 0;
  if (!readPlainDecimal(field, d, scale, v))
    if (int rc = readRealGeneralAs(field, d, scale, blank, v)) return rc;
  std::memcpy(element, &v, sizeof v);
  return 0;
}

// readRealFields one field after another by readFieldByBytes.
template <class T>
std::size_t readFieldsByBytes(std::string_view record, std::size_t w, std::size_t n, int d,
                              int scale, BlankMode blank, char* elements, std::size_t length,
                              int& status) {
  for (std::size_t k = 0; k < n; ++k) {
    status = readFieldByBytes<T>(record.substr(k * w, w), d, scale, blank, elements + k * length);
    if (status != 0) return k + 1;
  }
  return n;
}

// Fields of up to eight characters (every data file's) by tables instead of
// words: each character looked up by its place from the field's end, the
// entries added. An entry holds the digit's value at its place in its low
// half and, in the nibble of its place in the high half, whether the
// character is another (bit 0), a digit (bit 1) or a blank (bit 2); the
// places' nibbles do not overlap, so the sum holds every flag. The field is
// of the commonest form when it holds no other character and no blank after
// a digit: blanks and then digits, or blanks alone. No multiply and no
// branch on the digits, whose count differs from field to field. Entries of
// 32 bits serve up to four places (values to 9999), of 64 bits eight.
template <class Entry>
struct PlaceTables {
  static constexpr std::size_t kPlaces = sizeof(Entry) * 8 / 2 / 4;  // nibbles in the high half
  static constexpr unsigned kFlags = sizeof(Entry) * 8 / 2;          // where the high half begins
  std::array<std::array<Entry, 256>, kPlaces> entry;
};
template <class Entry>
constexpr PlaceTables<Entry> makePlaceTables() {
  using Tables = PlaceTables<Entry>;
  Tables t{};
  Entry weight = 1;
  for (std::size_t place = 0; place < Tables::kPlaces; ++place, weight *= 10)
    for (unsigned c = 0; c < 256; ++c) {
      const bool digit = c >= '0' && c <= '9';
      const Entry flag = digit ? 2u : c == ' ' ? 4u : 1u;
      t.entry[place][c] = (digit ? (c - '0') * weight : 0u) | flag << (Tables::kFlags + 4 * place);
    }
  return t;
}
template <class Entry>
constexpr PlaceTables<Entry> kPlaceTables = makePlaceTables<Entry>();
// Bit 0 of every place's nibble.
template <class Entry>
constexpr Entry kOtherFlags = static_cast<Entry>(everyByte<Entry>(0x11)
                                                 << PlaceTables<Entry>::kFlags);
// The blank bit of every place but the last: shifted down by 3, a place's
// digit bit lands on the blank bit of the place after it in the field.
template <class Entry>
constexpr Entry kBlankFlags = static_cast<Entry>((everyByte<Entry>(0x44)
                                                  << PlaceTables<Entry>::kFlags) &
                                                 ~(Entry{0xF} << (sizeof(Entry) * 8 - 4)));

// The sum of the entries of a field's W characters, one term per place.
template <class Entry, std::size_t W, std::size_t... I>
[[gnu::always_inline]] inline Entry placeSum(const unsigned char* p, std::index_sequence<I...>) {
  return (kPlaceTables<Entry>.entry[W - 1 - I][p[I]] + ...);
}

// Fields k on, as long as each is of the commonest form, stored at elements
// (length bytes apart) with the power applied; returns the first field not
// done. W, the width, is a constant: one term per place. Eight digits are
// too many for a float: a field of eight digits is left to the byte loop.
template <class T, std::size_t W>
std::size_t readTabledFields(const ExactScale<T> scale, const char* record, char* elements,
                             std::size_t length, std::size_t k, std::size_t n) {
  using Entry = std::conditional_t<(W <= 4), std::uint32_t, std::uint64_t>;
  constexpr unsigned kFlags = PlaceTables<Entry>::kFlags;
  constexpr bool kEightExact = ExactPowers<T>::kMaxDigits >= 8;
  constexpr Entry kTooMany =
      W == 8 && !kEightExact ? Entry{2} << (kFlags + 4 * 7) : 0;  // a digit in place 7
  const auto* p = reinterpret_cast<const unsigned char*>(record) + k * W;
  char* element = elements + k * length;
  for (; k < n; ++k, p += W, element += length) {
    const Entry sum = placeSum<Entry, W>(p, std::make_index_sequence<W>());
    if (((sum & (kOtherFlags<Entry> | kTooMany)) | ((sum >> 3) & sum & kBlankFlags<Entry>)) != 0)
      break;
    const T v = scale.apply(sum & ((Entry{1} << kFlags) - 1));
    std::memcpy(element, &v, sizeof v);
  }
  return k;
}

// readRealFields for fields of W characters by readTabledFields; a field of
// another form takes the byte loop and the general parse.
template <class T, std::size_t W>
std::size_t readPlacedFields(std::string_view record, std::size_t n, int d, int scale,
                             BlankMode blank, char* elements, std::size_t length, int& status) {
  const ExactScale<T> power = impliedScale<T>(d, scale);
  const char* text = record.data();
  for (std::size_t k = readTabledFields<T, W>(power, text, elements, length, 0, n); k < n;
       k = readTabledFields<T, W>(power, text, elements, length, k + 1, n)) {
    if (int rc =
            readFieldByBytes<T>(record.substr(k * W, W), d, scale, blank, elements + k * length)) {
      status = rc;
      return k + 1;
    }
  }
  return n;
}

// readPlacedFields for the width of the run, one to eight.
template <class T>
std::size_t readPlacedFieldsOfWidth(std::string_view record, std::size_t w, std::size_t n, int d,
                                    int scale, BlankMode blank, char* elements, std::size_t length,
                                    int& status) {
  using Reader =
      std::size_t (*)(std::string_view, std::size_t, int, int, BlankMode, char*, std::size_t, int&);
  static constexpr Reader kByWidth[] = {readPlacedFields<T, 1>, readPlacedFields<T, 2>,
                                        readPlacedFields<T, 3>, readPlacedFields<T, 4>,
                                        readPlacedFields<T, 5>, readPlacedFields<T, 6>,
                                        readPlacedFields<T, 7>, readPlacedFields<T, 8>};
  return kByWidth[w - 1](record, n, d, scale, blank, elements, length, status);
}

// readRealFields for one precision: place tables for fields of up to eight
// characters, or one field after another.
template <class T>
std::size_t readRealFieldsAs(std::string_view record, std::size_t w, std::size_t n, int d,
                             int scale, BlankMode blank, char* elements, std::size_t length,
                             int& status) {
  if (impliedScale<T>(d, scale).exact && w >= 1 && w <= kWordBytes)
    return readPlacedFieldsOfWidth<T>(record, w, n, d, scale, blank, elements, length, status);
  return readFieldsByBytes<T>(record, w, n, d, scale, blank, elements, length, status);
}

// Iw of a field of one to eight characters that is blank, or blanks and then
// digits up to its end, within the range of the integer: false for any
// other field, which the digit loop reads.
bool readPlainInteger(std::string_view field, int bytes, std::int64_t& out) {
  std::uint64_t value;
  if (!readDigitsWord(copiedWord(field), wordShape<std::uint64_t>(field.size()), value) ||
      value > integerLimit(10, bytes, false))
    return false;
  out = static_cast<std::int64_t>(value);
  return true;
}

}  // namespace

int readInteger(std::string_view field, int base, BlankMode blank, int bytes, std::int64_t& out) {
  const int size = bytes < 1 || bytes > 8 ? 8 : bytes;
  if (base == 10 && wordWide(field.size()) && readPlainInteger(field, size, out)) return 0;
  return readIntegerGeneral(field, base, blank, bytes, out);
}

// A sign needs at least one digit after it. B, O and Z take no sign and
// return the bit pattern sign-extended from `bytes` bytes ("FF" in a 1-byte
// Z field is -1), so storing the low bytes gives the pattern written.
int readIntegerGeneral(std::string_view field, int base, BlankMode blank, int bytes,
                       std::int64_t& out) {
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
