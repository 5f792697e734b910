// Texts of the starter's string table (starter/resources), in the language
// the system's resource selection picks. Texts come back in the ANSI code
// page of the system (code page 949 bytes for the Korean table on a Korean
// system), as LoadStringA converts them.
//
// Any thread may call these; the strings live in the program image, so there
// is nothing to free and nothing to lock. Failure is an empty text or false.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "starter/resources/resource_ids.h"

namespace ld {

// Module whose string table is read: the program's own image unless a test
// or the start-up sets another one. Set once before threads start.
void SetStringModule(HINSTANCE module);
HINSTANCE StringModule();

// Loads string `id` into a buffer of `buffer_size` bytes (the terminating NUL
// included, so at most buffer_size - 1 bytes come back, as LoadStringA cuts
// them). False when the id is missing or the string is empty; `out` is then
// emptied.
bool TryLoadText(unsigned id, std::size_t buffer_size, std::string* out);

// Same, answering "" on failure. The default size is the 260 bytes most
// callers have always used.
std::string LoadText(unsigned id, std::size_t buffer_size = 260);

// True when the English table is in use (string 130 reads "en"); a few
// layouts are nudged for it.
bool EnglishTableInUse();

}  // namespace ld
