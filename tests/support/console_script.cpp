#include "tests/support/console_script.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "fmtio/hooks.h"
#include "fmtio/options.h"
#include "fmtio/stop.h"
#include "fmtio/unit.h"

namespace testing_support {

ConsoleScript::ConsoleScript(std::string input) : input_(std::move(input)) {
  fmtio::resetUnitTable();
  fmtio::resetRuntimeOptions();
  fmtio::ConsoleHooks& hooks = fmtio::consoleHooks();
  hooks.readLine = [this](int, std::string& line) {
    if (pos_ >= input_.size()) return false;
    std::size_t nl = input_.find('\n', pos_);
    std::size_t end = nl == std::string::npos ? input_.size() : nl + 1;
    line = input_.substr(pos_, end - pos_);
    pos_ = end;
    return true;
  };
  hooks.writeBlock = [this](int, bool toError, std::string_view bytes) {
    (toError ? err_ : out_).append(bytes);
  };
}

ConsoleScript::~ConsoleScript() {
  fmtio::resetUnitTable();
  fmtio::installDefaultHooks();
  fmtio::resetRuntimeOptions();
}

int ConsoleScript::run(const std::function<void()>& body) { return fmtio::runProgram(body); }

std::string ConsoleScript::outLines() const {
  std::string s;
  s.reserve(out_.size());
  for (std::size_t i = 0; i < out_.size(); ++i)
    if (!(out_[i] == '\r' && i + 1 < out_.size() && out_[i + 1] == '\n')) s += out_[i];
  return s;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ringedit-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& bytes) const {
  std::ofstream(file(name), std::ios::binary) << bytes;
}

std::string TempDir::read(const std::string& name) const {
  std::ifstream in(file(name), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace testing_support
