// Prompted answers: a question is one line ending in " => " with the answer
// typed on the same line. Prefix "|" puts an empty line first, "$" keeps the
// answer's letter case. "/" alone (or followed by a blank) ends the run with
// "Exit". A rejected numeric answer rings the bell, marks the line with
// "INTEGER!" or "NUMBER!" and asks again in place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dialogue {

// The stop message of the answer "/".
constexpr std::string_view kExitMessage = "Exit";

// Asks and reads the answer; answer.size() is the answer variable's length.
void ASKSTR(std::string_view question, std::string& answer);
// Ask until an integer (a number) is given; an empty answer is 0. An answer
// that gives no value (",", "3*", "/5") is rejected, as is a number that
// is not finite.
void ASKINT(std::string_view question, std::int32_t& value);
void ASKNUM(std::string_view question, float& value);
// Bell and cursor up one line.
void BELLUP();

}  // namespace dialogue
