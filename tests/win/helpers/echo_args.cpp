// Helper program for the process launcher tests. It writes its own command
// line and current folder, one per line, to the file named by the environment
// value LD_ECHO_ARGS_OUT, first into "<file>.part" and then renamed, so a
// waiting test never reads half a file. Exit code 0 when written, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
  char out_path[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableA("LD_ECHO_ARGS_OUT", out_path, sizeof(out_path));
  if (length == 0 || length >= sizeof(out_path)) return 1;
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof(folder), folder);

  std::string part = std::string(out_path) + ".part";
  FILE* file = std::fopen(part.c_str(), "wb");
  if (file == nullptr) return 1;
  std::fprintf(file, "%s\n%s\n", GetCommandLineA(), folder);
  std::fclose(file);
  return MoveFileExA(part.c_str(), out_path, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
