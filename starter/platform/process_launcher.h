// Starts programs: the games, the sound and companion programs, explorer
// windows and the starter's own clone. Three methods are tried in order:
// CreateProcessA, ShellExecuteA, WinExec. When all three fail, a failure text
// (with the process's integrity level when the first method was refused for
// access) goes to the launch-failure reporter with code 0x00180007.
//
// Threads: the main thread (folder commands, self-update) and the
// installation driver thread. The launcher keeps no state; the reporter is
// set once at start-up, before other threads run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace ld {

// Creation flags of the first method.
inline constexpr DWORD kLaunchCreationFlags =
    CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS | DETACHED_PROCESS;
static_assert(kLaunchCreationFlags == 0x04000028);
// Longest failure text (the terminating NUL not counted).
inline constexpr std::size_t kLaunchFailureTextLimit = 511;

// The system calls behind the launcher, so that tests can refuse some of them.
class LaunchApi {
 public:
  virtual ~LaunchApi() = default;
  // CreateProcessA on a writable copy of `command` with the launcher's flags
  // and `show` in the start information; `folder` (may be null) is the
  // current directory. On failure *error is the Windows error.
  virtual bool TryCreateProcess(const std::string& command, const char* folder, int show,
                                DWORD* error) = 0;
  // ShellExecuteA with the verb "open"; returns its result as an integer.
  virtual int TryShellExecute(const std::string& file, const char* parameters, const char* folder,
                              int show) = 0;
  // WinExec; returns its result.
  virtual unsigned TryWinExec(const std::string& command, int show) = 0;
};

class SystemLaunchApi : public LaunchApi {
 public:
  bool TryCreateProcess(const std::string& command, const char* folder, int show,
                        DWORD* error) override;
  int TryShellExecute(const std::string& file, const char* parameters, const char* folder,
                      int show) override;
  unsigned TryWinExec(const std::string& command, int show) override;
};

// Receives (code, text) when every method failed. The reporting module installs
// one that sends a log record; without one the text goes to the debugger trace.
using LaunchFailureReporter = std::function<void(std::uint32_t code, const std::string& text)>;
void SetLaunchFailureReporter(LaunchFailureReporter reporter);

// Starts `program` in `folder` (null: no folder) with `arguments` (null: none)
// and show code `show`. Returns nonzero when one of the methods started it.
int LaunchProcess(const char* folder, const char* program, const char* arguments, int show);

// The same through `api`; *failure_text (may be null) receives the failure
// text when all methods failed.
int LaunchProcessWith(LaunchApi& api, const char* folder, const char* program,
                      const char* arguments, int show, std::string* failure_text);

// "<folder>\<program>" or the program alone, then " <arguments>" when given.
std::string LaunchCommandText(const char* folder, const char* program, const char* arguments);

// The same as a command line for CreateProcess and WinExec: the program's
// path (up to its ".exe"; options behind it stay outside) is quoted when it
// holds a blank. Unquoted, the system would first try "D:\My.exe" for
// "D:\My Games\game.exe", and the game's own parsing would take "D:\My" for
// its name and the rest of the path for its arguments.
std::string LaunchCommandLine(const char* folder, const char* program, const char* arguments);

// The failure text. `folder` is what the text shows as the current folder.
std::string LaunchFailureText(DWORD create_error, int shell_result, unsigned exec_result,
                              int integrity_level, const std::string& folder,
                              const std::string& program);

// Integrity level of this process: 0 low, 1 medium, 2 high, 3 system, -1
// when the token cannot be read or the level is none of these.
int IntegrityLevel();

// The level for the last sub-authority of the integrity label: 0x1000 gives
// 0, 0x2000..0x2FFF 1, 0x3000..0x3FFF 2, 0x4000 and above 3, anything else -1.
int IntegrityLevelFromRid(DWORD rid);

}  // namespace ld
