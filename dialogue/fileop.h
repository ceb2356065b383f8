// FILEOP: connects data files to units and performs the few unit operations
// the series code needs. Request codes: "?O<heading>" ask for an existing file
// and identify its format, "?L<heading>" ask for a new file, "*S" scratch
// file, ">R" rewind, ">C" close. A dialogue request succeeds or ends the run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dialogue {

// name.size() is the caller's name length (40 in the edit session).
void FILEOP(std::int32_t unit, std::string& name, std::int32_t recordLength,
            std::string_view request);

// Moves the non-blank characters to the front, in order, and blank-fills the rest.
void NOBLNK(std::string& text);

}  // namespace dialogue
