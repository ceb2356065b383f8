// Output editing: one function per edit family. Each writes one field into
// dst and returns the number of characters written (w, or the fewest columns
// for a minimal width written as 0). dst must hold kMaxNumericField
// characters. A value that does not fit fills the field with w asterisks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fmtio/format.h"

namespace fmtio {

constexpr std::size_t kMaxNumericField = 1024;

struct OutputModes {
  bool plusSign = false;      // SP in force
  int scale = 0;              // kP in force
  bool noLeadZero = false;    // option -noleadzero
  bool hexUppercase = false;  // option -hex_uppercase
};

// P, SP and SS entries set the modes of the data entries after them: true
// when the entry is one of them (and the modes are set), false otherwise.
bool setOutputMode(OutputModes& modes, const FormatEntry& entry);

// Iw.m, Bw.m, Ow.m, Zw.m (op). m is kAbsent when not written. B, O and Z
// edit the bit pattern of an integer of `bytes` bytes (1, 2, 4 or 8).
std::size_t editInteger(char* dst, Op op, int w, int m, std::int64_t value, int bytes,
                        const OutputModes& modes);

// Iw with 0 < w <= kMaxNumericField, no m and no plus sign (the form of
// every data file's values): the field editInteger writes for it, without
// asking which form it is. dst must hold max(w, kPlainIntegerRoom)
// characters; those past the field may be overwritten.
constexpr std::size_t kPlainIntegerRoom = 16;
std::size_t editPlainInteger(char* dst, int w, std::int64_t value);

// editPlainInteger of n integers of `bytes` bytes (1, 2, 4 or 8; any other
// is taken as 4), length bytes apart from elements on, into n fields one
// after another from dst (which holds n * w + kPlainIntegerRoom characters).
void editPlainIntegers(char* dst, int w, const char* elements, std::size_t n, std::size_t length,
                       int bytes);

// F, E, D, ES, EN, G, ExpD, GExpD and QW (op; `family` is the letter written
// before w for ExpD: E, ES or EN). At most 16 significant digits are produced;
// further integer digits are written as 0.
std::size_t editReal(char* dst, Op op, Op family, int w, int d, int e, double value,
                     const OutputModes& modes);

// Lw: w-1 blanks then T or F.
std::size_t editLogical(char* dst, int w, bool value);

}  // namespace fmtio
