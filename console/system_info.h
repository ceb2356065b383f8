// What the About box shows of the machine. Plain C++.
#pragma once

#include <cstdint>
#include <string>

namespace console {

struct SystemInfo {
  long pageSize = 0;
  std::uintptr_t minimumAddress = 0;  // lowest address a program may map
  std::uintptr_t maximumAddress = 0;  // highest address of the program's space
  std::string processorType;
  int processorCount = 0;
};

SystemInfo systemInfo();
// An address in lower-case hexadecimal with "0x".
std::string hexAddress(std::uintptr_t address);

}  // namespace console
