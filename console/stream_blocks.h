// How the bytes the runtime writes to a standard stream are handed to the
// console window: a line feed that does not stand beside a carriage return
// becomes CR LF (the runtime's own messages end their lines with a line feed
// alone), and the bytes are cut after every line feed and into pieces of at
// most 256 bytes, so that a line's feed is always the last byte of a block
// and the window drops it instead of showing a blank.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace console {

constexpr std::size_t kStreamPiece = 256;

std::vector<std::string> consoleBlocks(std::string_view bytes);

}  // namespace console
