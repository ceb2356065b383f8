// Cutting standard-stream output into console blocks.
#include "console/stream_blocks.h"

namespace console {
namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

// Every lone line feed preceded by a carriage return.
std::string withLineBreaks(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 16);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const bool afterReturn = i > 0 && bytes[i - 1] == kCarriageReturn;
    const bool beforeReturn = i + 1 < bytes.size() && bytes[i + 1] == kCarriageReturn;
    if (bytes[i] == kLineFeed && !afterReturn && !beforeReturn) out += kCarriageReturn;
    out += bytes[i];
  }
  return out;
}

// The length of the next block at the start of text.
std::size_t blockLength(std::string_view text) {
  std::size_t feed = text.find(kLineFeed);
  std::size_t n = feed == std::string_view::npos ? text.size() : feed + 1;
  if (n <= kStreamPiece) return n;
  n = kStreamPiece;
  // A CR LF pair stays in one block.
  if (text[n - 1] == kCarriageReturn && text[n] == kLineFeed) --n;
  return n;
}

}  // namespace

std::vector<std::string> consoleBlocks(std::string_view bytes) {
  const std::string text = withLineBreaks(bytes);
  std::vector<std::string> blocks;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t n = blockLength(rest);
    blocks.emplace_back(rest.substr(0, n));
    rest.remove_prefix(n);
  }
  return blocks;
}

}  // namespace console
