// Planning the pages of a printed console window.
#include "console/print_plan.h"

#include <algorithm>

namespace console {

int PrintPlan::pages() const {
  const int lines = lastLine - firstLine + 1;
  return lines <= 0 ? 0 : (lines + linesPerPage - 1) / linesPerPage;
}

// At least one line goes on a page, however small the page.
int linesPerPage(int pageHeight, int lineHeight) {
  return lineHeight <= 0 ? 1 : std::max(1, pageHeight / lineHeight);
}

PrintPlan planPrint(int lineCount, int perPage, const PageRange& range) {
  PrintPlan plan;
  plan.linesPerPage = std::max(1, perPage);
  plan.lastLine = lineCount;
  if (range.chosen) {
    plan.firstLine = plan.linesPerPage * (range.first - 1) + 1;
    plan.lastLine = std::min(plan.linesPerPage * range.last, lineCount);
  }
  return plan;
}

}  // namespace console
