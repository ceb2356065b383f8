// The format workbench's commands: compile, write and read.
#pragma once

#include <string>
#include <vector>

namespace ringfmt {

using Args = std::vector<std::string>;

// Each command runs inside the runtime's program frame and returns normally,
// or ends the run through the runtime (STOP or an error); a usage error
// returns its message instead (empty when none).
std::string compileCommand(const Args& args);
std::string writeCommand(const Args& args);
std::string readCommand(const Args& args);

}  // namespace ringfmt
