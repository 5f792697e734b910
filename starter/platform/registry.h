// Thin wrappers over the registry for every write the starter makes. All
// paths are relative to HKEY_CURRENT_USER: nothing is ever written to the
// machine hive. Every call returns the Windows error code, 0 on success
// (2, ERROR_FILE_NOT_FOUND, when a key or value is absent).
//
// Any thread may call these; a RegistryKey belongs to whoever holds it.
#pragma once

#include <windows.h>

#include <string>

#include "starter/platform/win_handle.h"

namespace ld {

// Text values are read into buffers of this many bytes, the terminating zero
// included; a longer value fails to read and counts as absent.
inline constexpr DWORD kRegistryTextCapacity = 261;

LONG OpenUserKey(const std::string& path, REGSAM access, RegistryKey* key);
// Creates or opens the key, non-volatile, with full access.
LONG CreateUserKey(const std::string& path, RegistryKey* key);
// Opens with KEY_WRITE; when that fails, creates the key.
LONG OpenOrCreateUserKeyForWriting(const std::string& path, RegistryKey* key);

// REG_SZ; the stored length counts the terminating zero.
LONG SetTextValue(HKEY key, const std::string& name, const std::string& text);
LONG SetNumberValue(HKEY key, const std::string& name, DWORD number);
// Reads a REG_SZ (or REG_EXPAND_SZ, unexpanded) of at most
// kRegistryTextCapacity bytes. On failure `text` is emptied.
LONG ReadTextValue(HKEY key, const std::string& name, std::string* text);
LONG ReadNumberValue(HKEY key, const std::string& name, DWORD* number);

// Opens the key with query access and closes it again.
LONG UserKeyExists(const std::string& path);
// Deletes one value through the shell's value deletion.
LONG DeleteUserValue(const std::string& path, const std::string& name);

}  // namespace ld
