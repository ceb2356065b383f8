// The process entry's part of the window environment.
#pragma once

#include <QString>
#include <functional>

namespace console {

// Sets the floating-point control word where the processor has one: all
// exceptions masked, round to nearest, 53-bit (double) precision.
void setFloatingPointControl();

// Starts the environment, runs the main routine in it and returns the exit
// code once the user has exited; a failed start returns its code at once.
int runWindowed(const std::function<void()>& mainRoutine, const QString& frameTitle);

}  // namespace console
