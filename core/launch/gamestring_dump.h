// Inspection text of a launch string: what the starter shows to testers and
// support in its launch-string dump box. Core builds the exact text; the
// Windows side only shows it (style kLaunchStringDumpBoxStyle, and ends the
// process with -1 on Cancel). Pure apart from the constant care tables, which
// are built once on first use (safe when two threads dump at the same time).
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "core/launch/gamestring.h"

namespace ld {

// Key -> show the value base64-decoded. Keys listed here are shown under
// "=== CARE ===" in the parts dump.
using CareTable = std::map<std::string, bool>;

// Table for a first gamestring (query and P form).
const CareTable& FirstGamestringCareTable();
// Table for a second gamestring (channel form).
const CareTable& SecondGamestringCareTable();

// OK/Cancel, system-modal, set-foreground, topmost; the caller may add bits.
inline constexpr unsigned kLaunchStringDumpBoxStyle = 0x51001;

// Parts of rest listed as "--- DONT CARE ---" and "=== CARE ===" sections,
// one key="value" line each. Tickets (k300e) and cookies (k301e) are never
// shown, only a placeholder. No final line feed.
std::string PartsDump(std::string_view rest, bool second_gamestring);

// Whole text of the launch-string dump box: title line ("* Commandline *" or
// "* 2nd Gamestring *"), the text, its head, its parts and (first gamestring
// only) the blank-separated other parameters.
std::string LaunchStringDumpText(std::string_view text, bool second_gamestring,
                                 GamestringFormat format);

}  // namespace ld
