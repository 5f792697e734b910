// Loading the game kind catalogue ("gamekind.ini") from the download server
// of the zone into the update-list folder, and reading it.
//
// Threads: the installation driver thread only. A failed download is not
// reported here (the driver tells the user when no catalogue came); a missing
// internet handle is (code 0x30003 and its error box).
#pragma once

#include <string>

#include "core/catalogue/catalogue.h"
#include "starter/install/update_list_fetch.h"

namespace ld {

// Downloads "<hul_root>/newhul/gamekind.ini" (4096-byte pieces, 30000 ms
// receive time-out; the URL moniker when the handle download fails) and
// reads it for `game_id` into *catalogue. The catalogue is always read from
// the download target, never from an earlier run's copy: false when the old
// file was removed and nothing came; when the old file could not be removed,
// the download went to a fresh temporary file, which is read even when empty.
// The game lists and the companion program are emptied in any case.
// default_shortcut_name is the game name (LaunchRecord::game_code).
bool LoadCatalogue(const ListFetchSettings& settings, const std::string& game_id,
                   const std::string& default_shortcut_name, Catalogue* catalogue);

}  // namespace ld
