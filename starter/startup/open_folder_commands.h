// The start-up command words that open the portal's folders in the Explorer
// ("open_korean_folder", "open_ludoria_folder", "open_folder"). Every message
// goes to a support box; the starter exits after the command whatever the
// result.
//
// Threads: main thread only, before any window exists.
#pragma once

#include <string>

namespace ld {

// Opens the install folder recorded as "Home" under
// "Software\Ludoria.Com\KOREAN". `key_path` and `value_name` are what the
// messages (and the deletion of an invalid value) name. True when the Explorer
// was started.
bool OpenInstallFolder(const std::string& key_path, const std::string& value_name);

// Opens the starter data folder. True when the Explorer was started.
bool OpenStarterDataFolder();

// Runs one of the three command words; false for any other word.
bool RunOpenFolderCommand(const std::string& word);

}  // namespace ld
