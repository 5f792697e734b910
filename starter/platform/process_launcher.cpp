#include "starter/platform/process_launcher.h"

#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "core/base/ascii.h"
#include "core/base/error_codes.h"
#include "starter/platform/debug_trace.h"
#include "starter/platform/win_handle.h"

namespace ld {
namespace {

LaunchFailureReporter& Reporter() {
  static LaunchFailureReporter reporter;
  return reporter;
}

void ReportFailure(const std::string& text) {
  const LaunchFailureReporter& reporter = Reporter();
  if (reporter) {
    reporter(error_code::kGameStart, text);
  } else {
    Trace(text);
  }
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH] = {};
  DWORD length = ::GetCurrentDirectoryA(sizeof(buffer), buffer);
  return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

bool Given(const char* text) { return text != nullptr; }

}  // namespace

bool SystemLaunchApi::TryCreateProcess(const std::string& command, const char* folder, int show,
                                       DWORD* error) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION process = {};
  // CreateProcessA may write into the command text.
  std::vector<char> writable(command.begin(), command.end());
  writable.push_back('\0');
  if (!::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, kLaunchCreationFlags,
                        nullptr, folder, &startup, &process)) {
    *error = ::GetLastError();
    return false;
  }
  KernelHandle process_handle(process.hProcess);
  KernelHandle thread_handle(process.hThread);
  return true;
}

int SystemLaunchApi::TryShellExecute(const std::string& file, const char* parameters,
                                     const char* folder, int show) {
  HINSTANCE result = ::ShellExecuteA(nullptr, "open", file.c_str(), parameters, folder, show);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

unsigned SystemLaunchApi::TryWinExec(const std::string& command, int show) {
  return ::WinExec(command.c_str(), static_cast<UINT>(show));
}

void SetLaunchFailureReporter(LaunchFailureReporter reporter) { Reporter() = std::move(reporter); }

std::string LaunchCommandText(const char* folder, const char* program, const char* arguments) {
  std::string command;
  if (Given(folder)) {
    command = folder;
    command += '\\';
  }
  command += program != nullptr ? program : "";
  if (Given(arguments)) {
    command += ' ';
    command += arguments;
  }
  return command;
}

std::string LaunchCommandLine(const char* folder, const char* program, const char* arguments) {
  const std::string name = program != nullptr ? program : "";
  const std::size_t exe = AsciiLowered(name).find(".exe ");
  const std::size_t path_end = exe == std::string::npos ? name.size() : exe + 4;
  std::string path = LaunchCommandText(folder, name.substr(0, path_end).c_str(), nullptr);
  if (path.find(' ') != std::string::npos && path.front() != '"') path = '"' + path + '"';
  return LaunchCommandText(nullptr, (path + name.substr(path_end)).c_str(), arguments);
}

std::string LaunchFailureText(DWORD create_error, int shell_result, unsigned exec_result,
                              int integrity_level, const std::string& folder,
                              const std::string& program) {
  char text[kLaunchFailureTextLimit + 1];
  if (create_error != ERROR_ACCESS_DENIED) {
    std::snprintf(text, sizeof(text),
                  "[ERR] Fail to CreateProcess() ShellExecute() WinExec() api\n"
                  "[SYS ERR  : CreateProcess() = %d, ShellExecute() = %d, WinExec() = %d]\n"
                  "[CUR DIR : %s\\%s]\n",
                  static_cast<int>(create_error), shell_result, static_cast<int>(exec_result),
                  folder.c_str(), program.c_str());
  } else {
    std::snprintf(text, sizeof(text),
                  "[ERR] Fail to CreateProcess() ShellExecute() WinExec() api\n"
                  "[SYS ERR  : CreateProcess() = %d, ShellExecute() = %d, WinExec() = %d]\n"
                  "[Process Integrity Level : %d\n"
                  "[CUR DIR : %s\\%s]\n",
                  static_cast<int>(create_error), shell_result, static_cast<int>(exec_result),
                  integrity_level, folder.c_str(), program.c_str());
  }
  return text;
}

int LaunchProcessWith(LaunchApi& api, const char* folder, const char* program,
                      const char* arguments, int show, std::string* failure_text) {
  const std::string command = LaunchCommandLine(folder, program, arguments);
  DWORD create_error = 0;
  if (api.TryCreateProcess(command, folder, show, &create_error)) return 1;

  const std::string file = LaunchCommandText(folder, program, nullptr);
  const int shell_show = show != 0 ? SW_SHOWNORMAL : SW_HIDE;
  const int shell_result = api.TryShellExecute(file, arguments, folder, shell_show);
  if (shell_result > 32) return 1;

  const unsigned exec_result = api.TryWinExec(command, shell_show);
  if (exec_result >= 32) return 1;

  // Without a folder the program ran (or would have) in our current folder.
  const std::string shown_folder = Given(folder) ? std::string(folder) : CurrentDirectory();
  const int level = create_error == ERROR_ACCESS_DENIED ? IntegrityLevel() : -1;
  std::string text = LaunchFailureText(create_error, shell_result, exec_result, level, shown_folder,
                                       program != nullptr ? program : "");
  ReportFailure(text);
  if (failure_text != nullptr) *failure_text = std::move(text);
  return 0;
}

int LaunchProcess(const char* folder, const char* program, const char* arguments, int show) {
  SystemLaunchApi api;
  return LaunchProcessWith(api, folder, program, arguments, show, nullptr);
}

int IntegrityLevelFromRid(DWORD rid) {
  if (rid == 0x1000) return 0;
  if (rid >= 0x2000 && rid <= 0x2FFF) return 1;
  if (rid >= 0x3000 && rid <= 0x3FFF) return 2;
  if (rid >= 0x4000) return 3;
  return -1;
}

int IntegrityLevel() {
  KernelHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Put())) return -1;
  DWORD size = 0;
  ::GetTokenInformation(token.Get(), TokenIntegrityLevel, nullptr, 0, &size);
  if (size < sizeof(TOKEN_MANDATORY_LABEL)) return -1;
  std::vector<unsigned char> buffer(size);
  if (!::GetTokenInformation(token.Get(), TokenIntegrityLevel, buffer.data(), size, &size)) {
    return -1;
  }
  auto* label = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data());
  PSID sid = label->Label.Sid;
  if (sid == nullptr || !::IsValidSid(sid)) return -1;
  UCHAR count = *::GetSidSubAuthorityCount(sid);
  if (count == 0) return -1;
  return IntegrityLevelFromRid(*::GetSidSubAuthority(sid, count - 1u));
}

}  // namespace ld
