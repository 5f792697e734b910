#include "starter/platform/registry.h"

#include <shlwapi.h>

namespace ld {

LONG OpenUserKey(const std::string& path, REGSAM access, RegistryKey* key) {
  return ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, key->Put());
}

LONG CreateUserKey(const std::string& path, RegistryKey* key) {
  DWORD disposition = 0;
  return ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, key->Put(), &disposition);
}

LONG OpenOrCreateUserKeyForWriting(const std::string& path, RegistryKey* key) {
  if (OpenUserKey(path, KEY_WRITE, key) == ERROR_SUCCESS) return ERROR_SUCCESS;
  return CreateUserKey(path, key);
}

LONG SetTextValue(HKEY key, const std::string& name, const std::string& text) {
  return ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

LONG SetNumberValue(HKEY key, const std::string& name, DWORD number) {
  return ::RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                          sizeof number);
}

LONG ReadTextValue(HKEY key, const std::string& name, std::string* text) {
  text->clear();
  char buffer[kRegistryTextCapacity + 1] = {};
  DWORD type = 0;
  DWORD size = kRegistryTextCapacity;
  LONG status =
      ::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  if (status != ERROR_SUCCESS) return status;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
  // A value stored without its terminating zero still ends inside the
  // buffer, which has one spare byte.
  buffer[size < kRegistryTextCapacity ? size : kRegistryTextCapacity] = '\0';
  text->assign(buffer);
  return ERROR_SUCCESS;
}

LONG ReadNumberValue(HKEY key, const std::string& name, DWORD* number) {
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof value;
  LONG status =
      ::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (status != ERROR_SUCCESS) return status;
  if (type != REG_DWORD || size != sizeof value) return ERROR_INVALID_DATA;
  *number = value;
  return ERROR_SUCCESS;
}

LONG UserKeyExists(const std::string& path) {
  RegistryKey key;
  return OpenUserKey(path, KEY_QUERY_VALUE, &key);
}

LONG DeleteUserValue(const std::string& path, const std::string& name) {
  return static_cast<LONG>(::SHDeleteValueA(HKEY_CURRENT_USER, path.c_str(), name.c_str()));
}

}  // namespace ld
