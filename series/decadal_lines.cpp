// Parsing the lines of the decadal formats, and the stop-marker rules of
// the measurement format.
#include "series/decadal_lines.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "common/text.h"
#include "fmtio/io.h"

namespace series {
namespace {

// Column 8 holding "-" marks the I5 year layout of a measurement line.
constexpr std::size_t kLongYearColumn = 7;
// A line whose last non-blank character stands before column 9 is skipped.
constexpr int kShortestDataLine = 9;
// Stop markers as F6.2 reads them, and how close a value must come to one.
constexpr double kHundredthsMarker = 9.99;
constexpr double kThousandthsMarker = -99.99;
constexpr double kMarkerTolerance = 0.0001;
// A marker below this is the -9999 of .001 precision.
constexpr double kThousandthsBelow = -99.98;

bool isLongYearLine(std::string_view line) {
  return line.size() > kLongYearColumn && line[kLongYearColumn] == '-';
}

// The measurement line, parsed, when it is one.
bool measurementLine(std::string_view line, DecadalLine& d) {
  return common::LASTNB(line) >= kShortestDataLine && parseMeasurementLine(line, d) == 0;
}

}  // namespace

int parseMeasurementLine(std::string_view line, DecadalLine& d) {
  std::span<double> values(d.values);
  if (!isLongYearLine(line))
    return fmtio::READ(fmtio::Internal(line, fmtio::Control::catching()), FMT("(A,I4,10F6.2)"),
                       d.ident, d.year, values);
  fmtio::Chars ident7{d.ident.data(), 7};
  d.ident[7] = ' ';
  return fmtio::READ(fmtio::Internal(line, fmtio::Control::catching()), FMT("(A,I5,10F6.2)"),
                     ident7, d.year, values);
}

bool lineYear(std::string_view line, bool index, std::int32_t& year) {
  fmtio::Internal record(line, fmtio::Control::catching());
  if (index) return fmtio::READ(record, FMT("(6X,I4)"), year) == 0;
  if (isLongYearLine(line)) return fmtio::READ(record, FMT("(7X,I5)"), year) == 0;
  return fmtio::READ(record, FMT("(8X,I4)"), year) == 0;
}

int parseIndexLine(std::string_view line, DecadalLine& d) {
  fmtio::ReadStatement s = fmtio::Statement::read(fmtio::Internal(line, fmtio::Control::catching()),
                                                  &FMT("(A,I4,10(F4.3,I3))"));
  s << fmtio::Chars{d.ident.data(), 6} << d.year;
  for (std::size_t k = 0; k < d.values.size(); ++k) s << d.values[k] << d.samples[k];
  d.ident[6] = d.ident[7] = ' ';
  return s.end();
}

std::size_t identWidth(std::string_view line) { return isLongYearLine(line) ? 7 : 8; }

FieldsPresent fieldsPresent(std::string_view line, FieldColumns f) {
  return fieldsPresent(line, line.find_last_not_of(' '), f);
}

FieldsPresent fieldsPresent(std::string_view line, std::size_t last, FieldColumns f) {
  if (last == std::string_view::npos || last < f.first) return {};
  if (last + 1 >= f.end()) return {10, false};
  std::size_t used = last + 1 - f.first;
  FieldsPresent p{static_cast<int>(used / f.width), used % f.width != 0};
  if (p.cut && line[f.first + static_cast<std::size_t>(p.whole) * f.width - 1] == ' ') {
    p.cut = false;
    ++p.whole;
  }
  return p;
}

bool isMeasurementMarker(double v) {
  return std::fabs(v - kHundredthsMarker) < kMarkerTolerance ||
         std::fabs(v - kThousandthsMarker) < kMarkerTolerance;
}

std::int32_t markerKind(double v) { return v < kThousandthsBelow ? -9999 : 999; }

LineMarker stopMarker(const DecadalLine& d, FieldsPresent present) {
  int n = present.held();
  // A cut last field is no value: the marker may stand before it.
  if (present.cut && !isMeasurementMarker(d.values[n - 1])) n = present.whole;
  if (n == 0 || !isMeasurementMarker(d.values[n - 1])) return {};
  double last = d.values[n - 1];
  int at = n - 1;
  while (at > 0 && std::fabs(d.values[at - 1] - last) < kMarkerTolerance) --at;
  return {at, markerKind(last)};
}

bool continuesWith(std::string_view a, std::string_view b, std::int64_t next) {
  DecadalLine d;
  if (!measurementLine(b, d) || d.year != next) return false;
  std::size_t width = std::min(identWidth(a), identWidth(b));
  return a.substr(0, width) == b.substr(0, width);
}

FileMarkers markersOf(const std::vector<std::string>& lines) {
  FileMarkers m;
  DecadalLine d;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = std::string_view(lines[i]).substr(0, kMeasurementFields.end());
    if (!measurementLine(line, d)) continue;
    FieldsPresent present = fieldsPresent(line, kMeasurementFields);
    LineMarker stop = stopMarker(d, present);
    if (stop.at < 0) continue;
    bool endsLine = stop.kind == 999 && stop.at + 1 == present.held();
    std::size_t next = i + 1;
    while (next < lines.size() && common::LASTNB(lines[next]) < kShortestDataLine) ++next;
    if (endsLine && next < lines.size() &&
        continuesWith(line, lines[next], std::int64_t{d.year} + stop.at + 1))
      continue;
    (stop.kind == 999 ? m.hundredths : m.thousandths) += 1;
  }
  return m;
}

}  // namespace series
