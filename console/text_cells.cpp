// Splitting UTF-8 console text into character cells.
#include "console/text_cells.h"

namespace console {
namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the sequence a lead byte announces; 1 for every byte that
// starts no sequence (ASCII, continuation bytes, bytes UTF-8 never uses).
std::size_t announcedLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

}  // namespace

std::size_t cellBytes(std::string_view text, std::size_t at) {
  if (at >= text.size()) return 0;
  const std::size_t wanted = announcedLength(static_cast<unsigned char>(text[at]));
  std::size_t n = 1;
  while (n < wanted && at + n < text.size() &&
         isContinuation(static_cast<unsigned char>(text[at + n])))
    ++n;
  return n;
}

int cellCount(std::string_view text) { return columnOfByte(text, text.size()); }

std::size_t byteOfColumn(std::string_view text, int column) {
  std::size_t at = 0;
  for (int k = 0; k < column && at < text.size(); ++k) at += cellBytes(text, at);
  return at;
}

int columnOfByte(std::string_view text, std::size_t at) {
  int column = 0;
  for (std::size_t k = 0; k < at && k < text.size(); k += cellBytes(text, k)) ++column;
  return column;
}

bool isWideCharacter(std::string_view cell) {
  return cell.size() > 1 && announcedLength(static_cast<unsigned char>(cell[0])) == cell.size();
}

}  // namespace console
