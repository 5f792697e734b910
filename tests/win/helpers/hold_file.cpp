// Helper program for the verification tests: holds a file open without
// sharing until told to let go, as a running game or a virus scanner would.
//   hold_file.exe PATH READY_EVENT RELEASE_EVENT
// Sets READY_EVENT once the file is held, then waits for RELEASE_EVENT (at
// most a minute, so a test that died never leaves it behind). Exit code 0
// when the file was held, 1 otherwise.
//
// It is a program of its own, not a mode of win_tests: a second copy of the
// test program would load the whole internet stack, whose shared cache lock
// Wine's cookie lookup can then wait on for ever.
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 4) return 1;
  HANDLE file =
      CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
  HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
  const bool held = file != INVALID_HANDLE_VALUE && ready != nullptr && release != nullptr;
  if (held) {
    SetEvent(ready);
    WaitForSingleObject(release, 60000);
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (ready != nullptr) CloseHandle(ready);
  if (release != nullptr) CloseHandle(release);
  return held ? 0 : 1;
}
