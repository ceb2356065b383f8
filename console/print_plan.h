// Which lines of a console window go on which printed page. Plain C++.
#pragma once

namespace console {

// Pages chosen in the print dialog; none means every line.
struct PageRange {
  int first = 0;
  int last = 0;
  bool chosen = false;
};

// Lines [firstLine, lastLine] (from 1) to print, linesPerPage to a page.
struct PrintPlan {
  int linesPerPage = 1;
  int firstLine = 1;
  int lastLine = 0;
  // Pages one copy takes.
  int pages() const;
};

// Lines per page from the page height in logical units and the line height.
int linesPerPage(int pageHeight, int lineHeight);
PrintPlan planPrint(int lineCount, int linesPerPage, const PageRange& range);

}  // namespace console
