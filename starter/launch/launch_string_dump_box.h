// The launch-string dump box testers see in the alpha zone: the text of
// core/gamestring_dump.h in an OK/Cancel box (style 0x51001 plus the caller's
// bits) without owner. Cancel ends the process at once with exit code -1,
// nothing saved or reported first.
//
// Threads: the main thread (start-up, refresh timer) and the installation
// driver thread; the box blocks its caller only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/launch/gamestring.h"

namespace ld {

// What Cancel does; ExitProcess(-1) unless a test installs something else.
// Set only while no box can be on the way.
void SetLaunchStringDumpCancelAction(std::function<void()> action);

// Shows the dump of `text` (a second gamestring when `second_gamestring`)
// under `caption`.
void ShowLaunchStringDump(bool second_gamestring, const std::string& text,
                          const std::string& caption, GamestringFormat format,
                          UINT extra_style = 0);

}  // namespace ld
