// Removes the game's outdated launcher pages from the browser's URL cache,
// so the portal's page hands out a fresh launch string on the next start.
// Fails silently; the count tells the caller whether anything went.
//
// Threads: the installation driver thread (after a rejected launch string);
// the cache walk has no state of its own.
#pragma once

#include <string>

namespace ld {

// Walks the normal URL cache entries, deletes every outdated launcher page
// of `game_id` on `domain` (core/launch/shell_rules.h) once, and returns the
// number of successful deletions. In kind mode a support box lists each URL
// and whether its deletion failed.
int CleanLauncherPages(const std::string& game_id, const std::string& domain, bool kind_mode);

}  // namespace ld
