// Rules of the per-user install folder record: which registry key a language
// uses, how the stored "Home" value is validated and turned back into the
// install root, and how a chosen root becomes the language folder. Pure text
// rules; the registry and the file system stay with the caller, which passes
// in what it read (and whether a folder exists) and acts on the result.
// Any thread may call these; they hold no state.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/launch/gamestring.h"

namespace ld {

// Sizes of the settings' text buffers, terminating zero included. Values that
// would not fit are cut to fit rather than overrunning the buffer.
inline constexpr std::size_t kRegistryKeyCapacity = 256;
inline constexpr std::size_t kFolderCapacity = 261;

inline constexpr char kRegistryRoot[] = "Software\\Ludoria.Com";
inline constexpr char kDefaultLanguage[] = "KOREAN";

// The language of a launch string: "KOREAN" in the new format; otherwise the
// text after the first "=" that follows the first "lang", up to the next "&"
// or the end. Empty when there is none (the caller reports that).
std::string LanguageOfLaunchString(std::string_view gamestring, GamestringFormat format);

// "Software\Ludoria.Com\<language>", cut to the key buffer.
std::string RegistryKeyForLanguage(std::string_view language);

// Upper-cases ASCII letters in place, stepping over the two-byte characters
// of code page 949 so their trail bytes are left alone.
void UpperCaseMultiByte(std::string& text);

// What a stored "Home" value says.
struct StoredHome {
  bool damaged = false;      // the value does not end in the language folder
  std::string folder;        // the value as validated (last part upper-cased
                             // when that was needed to match)
  std::string install_root;  // folder cut at the first "\<language>"
};

// Validates a stored "Home" against the language (not empty). A value that
// does not hold "\<language>" gets its last component upper-cased and
// compared; when that still differs, or there is no backslash, the record is
// damaged and install_root is empty.
StoredHome AnalyseStoredHome(std::string_view home, std::string_view language);

// The install root the user confirmed, or "<drive>:\Ludoria" when empty
// (drive: the drive letter of the Windows folder).
std::string InstallRootOrDefault(std::string_view chosen, char windows_drive);

// "<root>\<language>", without doubling a trailing backslash of root; cut to
// the folder buffer.
std::string LanguageFolder(std::string_view root, std::string_view language);

}  // namespace ld
