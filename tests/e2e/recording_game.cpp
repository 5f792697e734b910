// A stand-in for a game: records how it was started (working folder and
// command line) by appending two lines to "started.txt" beside itself, then
// ends. The end-to-end scenarios publish it as a game's program and read the
// record back.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char program[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::string record(program, length);
  record.resize(record.rfind('\\') + 1);
  record += "started.txt";
  char folder[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, folder);
  std::FILE* file = std::fopen(record.c_str(), "ab");
  if (file == nullptr) return 1;
  std::fprintf(file, "cwd=%s\ncmdline=%s\n", folder, ::GetCommandLineA());
  std::fclose(file);
  return 0;
}
