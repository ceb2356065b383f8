// The folder of real data files beside the checkout (../shared/data, or the
// folder the build names in RINGEDIT_SHARED_DATA), read where it lies. A
// test that reads it skips where it is missing, and says so:
//   if (!haveSharedData()) GTEST_SKIP() << needsSharedData();
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#ifndef RINGEDIT_SHARED_DATA
#error "the test binary names the folder of real data files in RINGEDIT_SHARED_DATA"
#endif

namespace testing_support {

// The folder, or the file of that name (a path inside it).
inline std::filesystem::path sharedData(std::string_view name = {}) {
  const std::filesystem::path folder = RINGEDIT_SHARED_DATA;
  return name.empty() ? folder : folder / name;
}

// True when the folder (the file of that name) is there.
inline bool haveSharedData(std::string_view name = {}) {
  return std::filesystem::exists(sharedData(name));
}

// The skip message of a test that needs the folder (the file of that name).
inline std::string needsSharedData(std::string_view name = {}) {
  const std::string what = name.empty() ? std::string() : "/" + std::string(name);
  return "needs ../shared/data" + what + " (not found at " + sharedData(name).string() + ")";
}

}  // namespace testing_support
