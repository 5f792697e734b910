// Trace lines for a debugger (OutputDebugStringA); the starter keeps no log
// file. Any thread. Nothing fails visibly: without a debugger the text goes
// nowhere.
#pragma once

#include <string>

namespace ld {

// Writes `text` followed by a line feed.
void Trace(const std::string& text);

}  // namespace ld
