#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fuzzing {

std::uint8_t Input::byte() {
  if (text_.empty()) return 0;
  auto b = static_cast<std::uint8_t>(text_.front());
  text_.remove_prefix(1);
  return b;
}

std::uint16_t Input::u16() { return static_cast<std::uint16_t>(byte() | byte() << 8); }

std::uint32_t Input::u32() { return u16() | static_cast<std::uint32_t>(u16()) << 16; }

float Input::real() {
  std::uint32_t bits = u32();
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

std::string_view Input::line() {
  std::size_t nl = text_.find('\n');
  std::string_view line = text_.substr(0, nl);
  text_.remove_prefix(nl == std::string_view::npos ? text_.size() : nl + 1);
  return line;
}

std::string_view Input::take(std::size_t n) {
  std::string_view part = text_.substr(0, n);
  text_.remove_prefix(part.size());
  return part;
}

std::string_view Input::rest() { return take(text_.size()); }

namespace {

// One directory per process, in shared memory when there is some: files are
// rewritten for every input. It goes when the process exits.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    path_ = (base / "ringedit-fuzz-XXXXXX").string();
    if (mkdtemp(path_.data()) == nullptr) std::abort();
  }
  ~ScratchDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const std::string& scratchDirectory() {
  static const ScratchDirectory dir;
  return dir.path();
}

}  // namespace

std::string scratchPath(std::string_view name) {
  return scratchDirectory() + "/" + std::string(name);
}

std::string scratchFile(std::string_view name, std::string_view bytes) {
  std::string path = scratchPath(name);
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::size_t recordCount(std::string_view text) {
  // A file without line feeds may end its records with carriage returns.
  auto ends =
      std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; });
  return static_cast<std::size_t>(ends) + 1;
}

void fail(const char* rule, const std::string& detail) {
  std::fprintf(stderr, "\n*** broken rule: %s\n%s\n", rule, detail.c_str());
  std::abort();
}

}  // namespace fuzzing
