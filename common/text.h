// Text helpers on the fixed-length, blank-padded fields of the records and
// answers: where the text ends, capitals, blanks squeezed out. Shared by the
// series readers and writers, the dialogue and the session.
#pragma once

#include <string>
#include <string_view>

namespace common {

// Position (1-based) of the last character that is neither blank nor NUL; 1
// for an empty or all-blank text.
int LASTNB(std::string_view text);
// Capitals for a..z, in place.
void UPCASE(std::string& text);
// Moves the non-blank characters to the front, in order, and blank-fills the rest.
void NOBLNK(std::string& text);

}  // namespace common
