// ringedit: edits a file of tree-ring or climate series on the text console
// and writes the result to a new file; "convert" and "check" do the same
// for many files without a question (see app/arguments.h).
#include <cstdio>
#include <string>
#include <vector>

#include "app/arguments.h"
#include "app/batch.h"
#include "app/line_editing.h"
#include "app/session.h"
#include "fmtio/interrupt.h"
#include "fmtio/options.h"
#include "fmtio/stop.h"
#include "series/tridas.h"

namespace {

constexpr int kUsageStatus = 2;

void print(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  series::registerTridas();
  const app::CommandLine line = app::parseCommandLine(words);
  fmtio::catchInterrupts();
  switch (line.action) {
    case app::Action::Help: print(stdout, app::usageText()); return 0;
    case app::Action::Version: print(stdout, app::versionText()); return 0;
    case app::Action::Usage:
      print(stderr, "ringedit: " + line.error + "\n" + app::usageText());
      return kUsageStatus;
    case app::Action::Convert: return app::convertFiles(line.options);
    case app::Action::Check: return app::checkFiles(line.options);
    case app::Action::Session: break;
  }
  fmtio::setCommandLine(words);
  app::useLineEditing();
  const int code = fmtio::runProgram(app::editSession);
  return code == -1 ? 255 : code;
}
