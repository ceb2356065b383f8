// Character cells of console text. The text is kept as UTF-8 bytes, as the
// runtime reads and writes them; a cell is one character: a lead byte with
// the continuation bytes it announces, or any byte that does not belong to
// such a sequence (a stray or cut-off byte keeps a cell of its own). Columns
// of a console window count cells.
#pragma once

#include <cstddef>
#include <string_view>

namespace console {

// The bytes of the cell that begins at byte `at` (1 at least, 0 past the end).
std::size_t cellBytes(std::string_view text, std::size_t at);
// Number of cells in the text.
int cellCount(std::string_view text);
// The byte where cell `column` begins; the text's size for a column past the end.
std::size_t byteOfColumn(std::string_view text, int column);
// The number of cells that begin before byte `at`.
int columnOfByte(std::string_view text, std::size_t at);
// True when the cell is a whole UTF-8 character of more than one byte.
bool isWideCharacter(std::string_view cell);

}  // namespace console
