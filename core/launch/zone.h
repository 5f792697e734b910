// Server zones: which set of servers (development, alpha test, outside
// mirror, real service) a launch string asks for. Pure functions; any thread.
#pragma once

#include <string_view>

#include "core/launch/gamestring.h"

namespace ld {

// A zone value is one byte; kNoZone means the text names none (real service).
inline constexpr char kNoZone = '\0';

// Zone value of a text (the whole command line, or the first gamestring).
// Old format: the byte right after the first "&p189="; new format: the named
// parameter P2 read as a number, bits 0x0F00 equal to 0x100 give '3', equal
// to 0x400 give '1'. kNoZone otherwise.
char ZoneValue(std::string_view text, GamestringFormat format);

// Zone number of the launch-string record: '1'..'5' give 1..5, anything
// else (kNoZone included) 0.
int ZoneNumber(char zone);

// The test-zone flag: the launch string carries any zone value at all.
inline bool IsTestZone(char zone) { return zone != kNoZone; }

}  // namespace ld
