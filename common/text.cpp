// Text helpers on blank-padded fields.
#include "common/text.h"

#include <algorithm>

namespace common {

int LASTNB(std::string_view text) {
  for (std::size_t i = text.size(); i > 0; --i)
    if (text[i - 1] != ' ' && text[i - 1] != '\0') return static_cast<int>(i);
  return 1;
}

void UPCASE(std::string& text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

void NOBLNK(std::string& text) {
  auto end = std::remove(text.begin(), text.end(), ' ');
  std::fill(end, text.end(), ' ');
}

}  // namespace common
