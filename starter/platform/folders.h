// Per-user folders, the starter data folder and small file operations shared
// by the whole starter. Paths are ANSI byte strings with "\" separators.
//
// Any thread may call these; they keep no state. Failures are empty paths or
// false, never exceptions; the Windows error of the failing call stays in
// GetLastError() where the comment says so.
#pragma once

#include <string>

namespace ld {

// CSIDL of the per-user application data folder.
inline constexpr int kAppDataFolderId = 26;

// Folder `folder_id` (a CSIDL) through SHGetFolderPathA, taken at run time
// from "SHFolder.dll" and asked to create the folder. When the library, the
// function or the call fails: the environment value "HOME", else "TMP", else
// "/tmp" (empty values count as missing).
std::string SpecialFolder(int folder_id);

// The same with another library name; how the fallback is exercised.
std::string SpecialFolderFrom(const char* library, int folder_id);

// "<application data>\Ludoria", created with its missing parents when it is
// not a directory, and marked hidden on every call. "C:\" stands in for an
// empty application data folder. Returns the path even when creation failed
// (callers find out when they use it).
std::string StarterDataFolder();

// The same below `base` instead of the application data folder.
std::string StarterDataFolderUnder(const std::string& base);

// Any file or directory.
bool FileExists(const std::string& path);

// Exists and is not a directory.
bool IsPlainFile(const std::string& path);

// A directory.
bool IsDirectory(const std::string& path);

// Sets the attributes to normal (so read-only files go too), then deletes.
// False with the Windows error when the file stays.
bool DeleteFileForced(const std::string& path);

// Creates `path` and its missing parents. One trailing "\" is ignored; an
// existing directory is accepted at once; a plain file standing where a
// folder must go is deleted first. False when the folder does not exist
// afterwards.
bool CreateFolder(const std::string& path);

}  // namespace ld
