// Input editing: numeric, logical fields of formatted input, and the value
// conversions list-directed input shares with them. Each returns 0 or 10016
// (kErrIllegalChar).
#pragma once

#include <cstdint>
#include <string_view>

#include "fmtio/format.h"
#include "fmtio/unit.h"

namespace fmtio {

// Iw, Bw, Ow, Zw (base 10, 2, 8, 16) of a field: leading blanks and tabs
// removed, other blanks ignored (BN) or zeros (BZ), empty = 0. A value
// outside the range of an integer of `bytes` bytes is 10016 (never wrapped
// silently); for B, O and Z the range is the unsigned bit pattern.
int readInteger(std::string_view field, int base, BlankMode blank, int bytes, std::int64_t& out);
// The same without the fast path for fields of blanks and digits alone: the
// digit loop, which tests hold the fast path to.
int readIntegerGeneral(std::string_view field, int base, BlankMode blank, int bytes,
                       std::int64_t& out);

// F, E, D, G, Q fields: implied decimal point from d when no point is
// written, scale factor k applied only when the field has no exponent,
// INF / NaN forms. The 4-byte form rounds the decimal text once, to float.
int readReal(std::string_view field, int d, int scale, BlankMode blank, double& out);
int readReal(std::string_view field, int d, int scale, BlankMode blank, float& out);

// The same for a field followed in memory by at least 8 - field.size()
// more readable bytes (a field that does not end within the last eight
// bytes of its record): a field of up to eight characters is read as one
// word. The result is readReal's.
int readRealInRecord(std::string_view field, int d, int scale, BlankMode blank, double& out);
int readRealInRecord(std::string_view field, int d, int scale, BlankMode blank, float& out);

// n fields of w characters (w > 0) that lie one after another from the
// start of record, n * w <= record.size(), read as readReal reads each into
// the elements (length bytes apart, from elements on). Returns how many were
// done, the one that failed included; status is then 0 or its error.
std::size_t readRealFields(std::string_view record, std::size_t w, std::size_t n, int d, int scale,
                           BlankMode blank, double* elements, std::size_t length, int& status);
std::size_t readRealFields(std::string_view record, std::size_t w, std::size_t n, int d, int scale,
                           BlankMode blank, float* elements, std::size_t length, int& status);

// The same without the fast path for fields of plain digits and a point: the general
// parse alone, which tests hold the fast path to.
int readRealGeneral(std::string_view field, int d, int scale, BlankMode blank, double& out);
int readRealGeneral(std::string_view field, int d, int scale, BlankMode blank, float& out);

// Lw: optional blanks and a period, then T/t true, anything else false.
bool readLogical(std::string_view field);

}  // namespace fmtio
