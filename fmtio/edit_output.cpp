// Output editing of integer and logical fields. Real fields are in
// edit_real.cpp.
//
// An integer field is laid out as named counts: leading blanks, sign, leading
// zeros, digits. A field whose content does not fit in w columns is filled
// with asterisks; with w = 0 (I0) the field is exactly as wide as its content.
#include "fmtio/edit_output.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace fmtio {
namespace {

// Digit value -> digit character, for bases 2 to 16 (lower- and upper-case
// letters for Z).
constexpr char kLowerDigits[] = "0123456789abcdef";
constexpr char kUpperDigits[] = "0123456789ABCDEF";

// A 64-bit value has at most 64 binary digits.
constexpr int kMaxIntegerDigits = 64;

// Writes n copies of c at p; returns the position after them.
char* fill(char* p, int n, char c) {
  if (n <= 0) return p;
  std::memset(p, c, static_cast<std::size_t>(n));
  return p + n;
}

int clampWidth(int w) {
  return w > static_cast<int>(kMaxNumericField) ? static_cast<int>(kMaxNumericField) : w;
}

// Bits per digit of B, O and Z.
int bitsPerDigit(Op op) {
  switch (op) {
    case Op::B: return 1;
    case Op::O: return 3;
    default: return 4;
  }
}

// The unsigned bit pattern of an integer of `bytes` bytes.
std::uint64_t bitPattern(std::int64_t value, int bytes) {
  auto bits = static_cast<std::uint64_t>(value);
  if (bytes >= 8 || bytes <= 0) return bits;
  return bits & ((std::uint64_t{1} << (8 * bytes)) - 1);
}

struct IntegerLayout {
  char sign = 0;   // '-', '+' or none
  int zeros = 0;   // leading zeros up to m digits
  int digits = 0;  // significant digits, stored backwards in text
  char text[kMaxIntegerDigits];
  int width() const { return (sign ? 1 : 0) + zeros + digits; }
};

// Two-digit number -> its two digit characters, for decimal output.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The digits of a magnitude written right to left, four at a time while
// more than four are left (one division by 10^4, the two pairs of the four
// from a number below 10^4), then by pairs, ending at end; returns where
// they begin. U is 32 bits wide for every magnitude that fits, whose
// divisions are the cheaper.
template <class U>
[[gnu::always_inline]] inline char* writeDigits(char* end, U magnitude) {
  char* p = end;
  while (magnitude >= 10000) {
    const U high = magnitude / 10000;
    const auto four = static_cast<std::uint32_t>(magnitude - high * 10000);
    p -= 4;
    std::memcpy(p, kDigitPairs + 2 * (four / 100), 2);
    std::memcpy(p + 2, kDigitPairs + 2 * (four % 100), 2);
    magnitude = high;
  }
  if (magnitude >= 100) {
    const U high = magnitude / 100;
    p -= 2;
    std::memcpy(p, kDigitPairs + 2 * (magnitude - high * 100), 2);
    magnitude = high;
  }
  if (magnitude >= 10) {
    p -= 2;
    std::memcpy(p, kDigitPairs + 2 * magnitude, 2);
  } else {
    *--p = static_cast<char>('0' + magnitude);
  }
  return p;
}

// Power of ten n -> 10^n, for n up to 19 (10^20 is past 64 bits).
constexpr std::uint64_t kPowersOfTen[] = {1ull,
                                          10ull,
                                          100ull,
                                          1000ull,
                                          10000ull,
                                          100000ull,
                                          1000000ull,
                                          10000000ull,
                                          100000000ull,
                                          1000000000ull,
                                          10000000000ull,
                                          100000000000ull,
                                          1000000000000ull,
                                          10000000000000ull,
                                          100000000000000ull,
                                          1000000000000000ull,
                                          10000000000000000ull,
                                          100000000000000000ull,
                                          1000000000000000000ull,
                                          10000000000000000000ull};

// The integers of four columns, -999 to 9999 (nearly every value of a data
// file), as their four characters right-aligned, made once at compile time:
// a field of them is one table word, without a division or a branch on the
// number of digits, which values of two, three and four digits mispredict.
// A narrower field takes the word's last w characters, of the integers that
// fit it.
constexpr std::int32_t kLowestFour = -999;
constexpr std::int32_t kHighestFour = 9999;
struct FourColumns {
  std::array<std::uint32_t, kHighestFour - kLowestFour + 1> text;
};
constexpr FourColumns makeFourColumns() {
  FourColumns table{};
  for (std::int32_t v = kLowestFour; v <= kHighestFour; ++v) {
    std::array<std::uint32_t, 4> c = {' ', ' ', ' ', ' '};
    std::int32_t rest = v < 0 ? -v : v;
    int at = 3;
    do {
      c[static_cast<std::size_t>(at--)] = static_cast<std::uint32_t>('0' + rest % 10);
      rest /= 10;
    } while (rest > 0);
    if (v < 0) c[static_cast<std::size_t>(at)] = '-';
    // Little-endian: the word's lowest byte is the field's first column.
    table.text[static_cast<std::size_t>(v - kLowestFour)] =
        c[0] | (c[1] << 8) | (c[2] << 16) | (c[3] << 24);
  }
  return table;
}
constexpr FourColumns kFourColumns = makeFourColumns();

// Whether the digits of a magnitude fit in `columns` columns: it is below
// 10^columns (every 64-bit magnitude fits in 20).
bool digitsFit(std::uint64_t magnitude, int columns) {
  if (columns < 1) return false;
  if (columns >= static_cast<int>(std::size(kPowersOfTen))) return true;
  return magnitude < kPowersOfTen[columns];
}

// The digits of a magnitude that fits, right-aligned in a field of w
// columns, the sign before them. Blanks first, then the digits and the sign
// over them; the sign goes in without a branch, which values of either sign
// would mispredict. A field of up to 16 columns is blanked as two words
// (the caller gives 16 columns of room), not through a call.
template <class U>
[[gnu::always_inline]] inline void placeDigits(char* dst, int w, bool negative, U magnitude) {
  if (w <= 16) {
    constexpr std::uint64_t kBlankWord = 0x2020202020202020u;
    std::memcpy(dst, &kBlankWord, 8);
    std::memcpy(dst + 8, &kBlankWord, 8);
  } else {
    fill(dst, w, ' ');
  }
  char* p = writeDigits(dst + w, magnitude);
  char* sign = p - (negative ? 1 : 0);
  *sign = negative ? '-' : *sign;
}

// Iw without m and without a plus sign, the form of every data-file field:
// the digits go straight into the field, right to left.
template <class U>
[[gnu::always_inline]] inline std::size_t editDecimalAs(char* dst, int w, bool negative,
                                                        U magnitude) {
  if (!digitsFit(magnitude, w - (negative ? 1 : 0)))
    return static_cast<std::size_t>(fill(dst, w, '*') - dst);
  placeDigits(dst, w, negative, magnitude);
  return static_cast<std::size_t>(w);
}

// Inlined into the loops over many fields: a call per field would cost as
// much as the field's digits.
[[gnu::always_inline]] inline std::size_t editDecimal(char* dst, int w, std::int64_t value) {
  bool negative = value < 0;
  auto magnitude = static_cast<std::uint64_t>(value);
  if (negative) magnitude = 0 - magnitude;
  if (magnitude <= 0xFFFFFFFFu)
    return editDecimalAs(dst, w, negative, static_cast<std::uint32_t>(magnitude));
  return editDecimalAs(dst, w, negative, magnitude);
}

// A run of fields of up to eight columns, integers of up to four bytes:
// those the table holds that fit the field by its word, the others by their
// digits or as asterisks. Narrow (under four columns) takes the last w
// characters of the table's word, of the integers that fit, the rest of the
// word made blanks. The limits of the field are worked out once for the run.
template <class V, bool Narrow>
void editTabledIntegers(char* dst, int w, const char* elements, std::size_t n, std::size_t length) {
  const auto wide = static_cast<std::size_t>(w);
  const std::uint64_t beyond = kPowersOfTen[wide];              // first magnitude too wide
  const std::uint64_t beyondNegative = kPowersOfTen[wide - 1];  // with the sign
  const std::int32_t lowest = Narrow ? 1 - static_cast<std::int32_t>(beyondNegative) : kLowestFour;
  const std::int32_t highest = Narrow ? static_cast<std::int32_t>(beyond) - 1 : kHighestFour;
  const auto span = static_cast<std::uint32_t>(highest - lowest);
  const std::uint32_t* const words = kFourColumns.text.data() + (lowest - kLowestFour);
  const std::size_t at = Narrow ? 0 : wide - 4;  // where the word goes in the field
  const unsigned drop = Narrow ? 8 * static_cast<unsigned>(4 - w) : 0;
  const std::uint32_t blanks = Narrow ? 0x20202020u << (32 - drop) : 0;
  for (std::size_t k = 0; k < n; ++k, dst += w) {
    V v;
    std::memcpy(&v, elements + k * length, sizeof v);
    // The integer's place in the table's range, counted without overflow.
    const std::uint32_t place =
        static_cast<std::uint32_t>(std::int32_t{v}) - static_cast<std::uint32_t>(lowest);
    if (place <= span) {
      constexpr std::uint64_t kBlankWord = 0x2020202020202020u;
      const std::uint32_t word = Narrow ? words[place] >> drop | blanks : words[place];
      std::memcpy(dst, &kBlankWord, 8);
      std::memcpy(dst + at, &word, 4);
      continue;
    }
    const bool negative = v < 0;
    const std::uint32_t magnitude =
        negative ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
    if (magnitude >= (negative ? beyondNegative : beyond)) {
      fill(dst, w, '*');
      continue;
    }
    placeDigits(dst, w, negative, magnitude);
  }
}

// editPlainIntegers for integers of type V: the loop over the fields with
// the field's editing inlined.
template <class V>
void editPlainIntegersAs(char* dst, int w, const char* elements, std::size_t n,
                         std::size_t length) {
  // The fields of data files: up to eight columns for integers of up to
  // four bytes, whose magnitudes are 32-bit.
  if constexpr (sizeof(V) <= 4 && std::endian::native == std::endian::little) {
    if (w <= 8) {
      if (w < 4) return editTabledIntegers<V, true>(dst, w, elements, n, length);
      return editTabledIntegers<V, false>(dst, w, elements, n, length);
    }
  }
  for (std::size_t k = 0; k < n; ++k) {
    V v;
    std::memcpy(&v, elements + k * length, sizeof v);
    editDecimal(dst + k * static_cast<std::size_t>(w), w, v);
  }
}

}  // namespace

std::size_t editPlainInteger(char* dst, int w, std::int64_t value) {
  return editDecimal(dst, w, value);
}

void editPlainIntegers(char* dst, int w, const char* elements, std::size_t n, std::size_t length,
                       int bytes) {
  switch (bytes) {
    case 1: return editPlainIntegersAs<std::int8_t>(dst, w, elements, n, length);
    case 2: return editPlainIntegersAs<std::int16_t>(dst, w, elements, n, length);
    case 8: return editPlainIntegersAs<std::int64_t>(dst, w, elements, n, length);
    default: return editPlainIntegersAs<std::int32_t>(dst, w, elements, n, length);
  }
}

std::size_t editInteger(char* dst, Op op, int w, int m, std::int64_t value, int bytes,
                        const OutputModes& modes) {
  if (op == Op::I && m == kAbsent && w > 0 && !modes.plusSign)
    return editDecimal(dst, clampWidth(w), value);
  IntegerLayout l;
  if (op == Op::I) {
    bool negative = value < 0;
    auto magnitude = static_cast<std::uint64_t>(value);
    if (negative) magnitude = 0 - magnitude;
    l.sign = negative ? '-' : modes.plusSign ? '+' : 0;
    for (; magnitude != 0; magnitude /= 10) l.text[l.digits++] = kLowerDigits[magnitude % 10];
  } else {
    // B, O and Z have no sign: they show the bit pattern.
    const char* digitChars = modes.hexUppercase ? kUpperDigits : kLowerDigits;
    int shift = bitsPerDigit(op);
    std::uint64_t mask = (std::uint64_t{1} << shift) - 1;
    for (std::uint64_t bits = bitPattern(value, bytes); bits != 0; bits >>= shift)
      l.text[l.digits++] = digitChars[bits & mask];
  }
  int minDigits = m == kAbsent ? 1 : m;
  if (l.digits < minDigits) l.zeros = minDigits - l.digits;
  // Iw.0 of zero has no digits at all: the field is blank, whatever the sign mode.
  if (l.zeros + l.digits == 0) l.sign = 0;

  int need = l.width();
  if (w == 0) w = need > 0 ? need : 1;
  w = clampWidth(w);
  if (need > w) return static_cast<std::size_t>(fill(dst, w, '*') - dst);
  char* p = fill(dst, w - need, ' ');
  if (l.sign) *p++ = l.sign;
  p = fill(p, l.zeros, '0');
  for (int i = l.digits - 1; i >= 0; --i) *p++ = l.text[i];
  return static_cast<std::size_t>(p - dst);
}

// An L field wider than kMaxNumericField keeps only its last kMaxNumericField
// columns (blanks, then the letter): dst holds no more.
std::size_t editLogical(char* dst, int w, bool value) {
  w = clampWidth(w < 1 ? 1 : w);
  char* p = fill(dst, w - 1, ' ');
  *p++ = value ? 'T' : 'F';
  return static_cast<std::size_t>(p - dst);
}

bool setOutputMode(OutputModes& modes, const FormatEntry& entry) {
  switch (entry.op) {
    case Op::P: modes.scale = entry.k; return true;
    case Op::SP: modes.plusSign = true; return true;
    case Op::SS: modes.plusSign = false; return true;
    default: return false;
  }
}

}  // namespace fmtio
