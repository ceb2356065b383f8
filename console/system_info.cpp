// The machine's page size, address range and processors.
#include "console/system_info.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <thread>

namespace console {
namespace {

// The kernel's lowest mappable address, and where it is set.
constexpr std::uintptr_t kDefaultMinimumAddress = 0x10000;
constexpr const char* kMinimumAddressFile = "/proc/sys/vm/mmap_min_addr";

// The top of a program's address space: 47 bits on x86-64, 48 elsewhere on
// 64-bit machines, 3 GiB on 32-bit ones; the last page is not usable.
constexpr std::uintptr_t addressSpaceTop() {
#if defined(__x86_64__)
  return std::uintptr_t{1} << 47;
#elif UINTPTR_MAX > 0xFFFFFFFFu
  return std::uintptr_t{1} << 48;
#else
  return 0xC0000000u;
#endif
}

std::uintptr_t minimumAddress() {
  std::ifstream in(kMinimumAddressFile);
  unsigned long long value = 0;
  if (in >> value && value > 0) return static_cast<std::uintptr_t>(value);
  return kDefaultMinimumAddress;
}

}  // namespace

SystemInfo systemInfo() {
  SystemInfo info;
  info.pageSize = sysconf(_SC_PAGESIZE);
  info.minimumAddress = minimumAddress();
  info.maximumAddress = addressSpaceTop() - static_cast<std::uintptr_t>(info.pageSize) - 1;
  utsname names{};
  info.processorType = uname(&names) == 0 ? names.machine : "unknown";
  info.processorCount = static_cast<int>(std::thread::hardware_concurrency());
  return info;
}

std::string hexAddress(std::uintptr_t address) {
  char buffer[2 + 2 * sizeof(address) + 1];
  std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(address));
  return buffer;
}

}  // namespace console
