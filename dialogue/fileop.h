// FILEOP: connects data files to units and performs the few unit operations
// the series code needs. Request codes: "?O<heading>" ask for an existing file
// and identify its format, "?L<heading>" ask for a new file, "*S" scratch
// file, ">R" rewind, ">C" close. A dialogue request succeeds or ends the run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dialogue {

// name.size() is the caller's name length (40 in the edit session); a
// longer name given by the user is taken whole and name grows to hold it.
void FILEOP(std::int32_t unit, std::string& name, std::int32_t recordLength,
            std::string_view request);

// Without a question, for the command line: the existing data file opened
// as "?O" opens it (its format is not identified), and the new file created
// as "?L" creates it (with replace, an existing file is replaced; its record
// length limit raised to at least 8192, as there). False when the file
// cannot be opened.
bool openDataFile(std::int32_t unit, const std::string& path);
bool createDataFile(std::int32_t unit, const std::string& path, bool replace,
                    std::int32_t recordLength = 0);

}  // namespace dialogue
