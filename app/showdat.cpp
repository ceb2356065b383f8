// SHOWDAT: each group of ten years is an empty line, the years in 8-column
// fields, and the values built by an internal write into an 80-column line.
#include "app/showdat.h"

#include <algorithm>
#include <string>

#include "app/edits.h"
#include "fmtio/io.h"

namespace app {
namespace {

constexpr std::int64_t kGroup = 10;

void showGroup(std::span<const float> values, std::int32_t firstYear, std::int64_t start,
               std::int64_t n) {
  const std::int64_t offset = start - firstYear;
  if (offset < 0 || offset + n > static_cast<std::int64_t>(values.size())) return;
  std::string line(80, ' ');
  fmtio::WriteStatement valueLine =
      fmtio::Statement::write(fmtio::Internal(line), &FMT("(10F8.2)"));
  for (std::int64_t k = 0; k < n; ++k) valueLine << values[offset + k];
  valueLine.end();
  fmtio::WriteStatement years = fmtio::Statement::write(fmtio::kConsoleOutput, FMT("(/10I8)"));
  for (std::int64_t k = 0; k < n; ++k) years << yearAt(firstYear, offset + k);
  years.end();
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(A)"), line);
}

}  // namespace

void SHOWDAT(std::span<const float> values, std::int32_t firstYear, std::int32_t lastYear,
             std::int32_t year) {
  const YearWindow window = displayWindow(firstYear, lastYear, year);
  const std::int64_t groups =
      (static_cast<std::int64_t>(window.last) - window.first + kGroup) / kGroup;
  for (std::int64_t g = 0; g < groups; ++g) {
    const std::int64_t start = static_cast<std::int64_t>(window.first) + g * kGroup;
    showGroup(values, firstYear, start, std::min(kGroup, window.last - start + 1));
  }
}

}  // namespace app
