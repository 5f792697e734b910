// Helper of the installer tests: holds a file open without sharing, as a
// running starter would, so that it cannot be deleted.
//   hold_open.exe PATH SECONDS
// Prints "held" once the file is open and keeps it for SECONDS (the test
// normally ends it sooner). Exit code 1 when the file cannot be opened.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) return 1;
  HANDLE file =
      CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::puts("held");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(std::atoi(argv[2])) * 1000);
  CloseHandle(file);
  return 0;
}
