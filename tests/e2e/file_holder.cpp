// Holds a file open without sharing, as a running game or a virus scanner
// would, so the starter cannot replace it:
//   file_holder.exe PATH SECONDS
// Writes PATH + ".held" once the file is held, then waits SECONDS (at most
// 300) and lets go. Exit code 0 when the file was held.
#include <windows.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  HANDLE file = ::CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const std::string marker = std::string(argv[1]) + ".held";
  HANDLE held = ::CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
  int seconds = std::atoi(argv[2]);
  if (seconds < 0 || seconds > 300) seconds = 300;
  ::Sleep(static_cast<DWORD>(seconds) * 1000);
  ::CloseHandle(file);
  return 0;
}
