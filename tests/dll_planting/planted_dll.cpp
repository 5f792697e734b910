// A DLL someone left beside a program: named like a system library, it only
// notes that it was loaded (its own path, one line, into planted.txt in its
// folder) and then refuses to load, so nothing depends on its missing
// functions.
#include <windows.h>

#include <cstring>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return FALSE;
  char record[MAX_PATH + 16] = {};
  std::memcpy(record, path, length);
  char* name = std::strrchr(record, '\\');
  std::strcpy(name != nullptr ? name + 1 : record, "planted.txt");
  HANDLE file = ::CreateFileA(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ::WriteFile(file, path, length, &written, nullptr);
    ::WriteFile(file, "\r\n", 2, &written, nullptr);
    ::CloseHandle(file);
  }
  return FALSE;
}
