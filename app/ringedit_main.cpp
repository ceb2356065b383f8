// ringedit: edits a file of tree-ring or climate series on the text console
// and writes the result to a new file.
#include <string>
#include <vector>

#include "app/session.h"
#include "fmtio/interrupt.h"
#include "fmtio/options.h"
#include "fmtio/stop.h"

int main(int argc, char** argv) {
  fmtio::setCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  fmtio::catchInterrupts();
  const int code = fmtio::runProgram(app::editSession);
  return code == -1 ? 255 : code;
}
