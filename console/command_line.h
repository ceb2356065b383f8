// The process's command line as one text: its argument list and the part
// after the program name. The process entry keeps the argument list for the
// runtime's argument queries; the remainder is what the window environment
// is started with.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace console {

// The arguments, program name first. Blanks and tabs separate arguments
// outside double quotes; a quoted part may hold blanks and ends its argument;
// inside quotes a doubled quote stands for one; a backslash before a quote
// makes it a quote, two backslashes before a quote become one and end the
// argument. The list ends at the first empty argument.
std::vector<std::string> splitCommandLine(std::string_view line);

// The text after the program name (a quoted name is skipped to its closing
// quote) and the blanks and tabs after it.
std::string_view commandLineRemainder(std::string_view line);

}  // namespace console
