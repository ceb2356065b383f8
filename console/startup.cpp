// The process entry's part of the window environment.
#include "console/startup.h"

#include "console/environment.h"

namespace console {
namespace {

// x87 control word: all exceptions masked, round to nearest, 53-bit precision.
[[maybe_unused]] constexpr unsigned short kControlWord = 0x027F;

}  // namespace

void setFloatingPointControl() {
#if defined(__i386__) || defined(__x86_64__)
  const unsigned short word = kControlWord;
  __asm__ volatile("fldcw %0" : : "m"(word));
#endif
}

int runWindowed(const std::function<void()>& mainRoutine, const QString& frameTitle) {
  Environment environment;
  if (const int failed = environment.start(frameTitle)) return failed;
  return environment.run(mainRoutine);
}

}  // namespace console
