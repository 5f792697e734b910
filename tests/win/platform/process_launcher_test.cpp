#include "starter/platform/process_launcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ld {
namespace {

// Answers as told and records the calls as "text|parameters|folder|show".
struct ScriptedApi : LaunchApi {
  ScriptedApi(int shell, unsigned exec, bool create_ok = false, DWORD error = 2)
      : shell_result(shell), exec_result(exec), create_ok(create_ok), create_error(error) {}
  bool TryCreateProcess(const std::string& command, const char* folder, int show,
                        DWORD* error) override {
    Record(command, "", folder, show);
    *error = create_error;
    return create_ok;
  }
  int TryShellExecute(const std::string& file, const char* parameters, const char* folder,
                      int show) override {
    Record(file, parameters ? parameters : "(none)", folder, show);
    return shell_result;
  }
  unsigned TryWinExec(const std::string& command, int show) override {
    Record(command, "", nullptr, show);
    return exec_result;
  }
  void Record(const std::string& text, const std::string& parameters, const char* folder,
              int show) {
    calls.push_back(text + "|" + parameters + "|" + (folder ? folder : "-") + "|" +
                    std::to_string(show));
  }
  int shell_result;
  unsigned exec_result;
  bool create_ok;
  DWORD create_error;
  std::vector<std::string> calls;
};

TEST(LauncherTest, TriesTheThreeMethodsInOrderAndReportsWhenAllFail) {
  std::vector<std::pair<std::uint32_t, std::string>> reports;
  SetLaunchFailureReporter([&](std::uint32_t code, const std::string& t) {
    reports.push_back({code, t});
  });
  ScriptedApi api(2, 2);
  EXPECT_EQ(LaunchProcessWith(api, "C:\\Games", "game.exe", "a b", 5, nullptr), 0);
  EXPECT_EQ(api.calls, (std::vector<std::string>{"C:\\Games\\game.exe a b||C:\\Games|5",
                                                 "C:\\Games\\game.exe|a b|C:\\Games|1",
                                                 "C:\\Games\\game.exe a b||-|1"}));
  EXPECT_EQ(
      reports,
      (decltype(reports){{0x00180007u, LaunchFailureText(2, 2, 2, -1, "C:\\Games", "game.exe")}}));
  // Access denied names the integrity level; show 0 hides the later methods.
  ScriptedApi denied(5, 0, false, ERROR_ACCESS_DENIED);
  std::string failure;
  LaunchProcessWith(denied, "C:\\Games", "game.exe", nullptr, 0, &failure);
  EXPECT_EQ(denied.calls[1], "C:\\Games\\game.exe|(none)|C:\\Games|0");
  EXPECT_EQ(denied.calls[2], "C:\\Games\\game.exe||-|0");
  EXPECT_EQ(failure,
            "[ERR] Fail to CreateProcess() ShellExecute() WinExec() api\n"
            "[SYS ERR  : CreateProcess() = 5, ShellExecute() = 5, WinExec() = 0]\n"
            "[Process Integrity Level : " +
                std::to_string(IntegrityLevel()) + "\n[CUR DIR : C:\\Games\\game.exe]\n");
  EXPECT_EQ(LaunchFailureText(2, 2, 2, -1, std::string(900, 'f'), "p.exe").size(),
            kLaunchFailureTextLimit);

  // The first method that works ends it, without a report.
  const struct {
    bool create_ok;
    int shell_result;
    unsigned exec_result, result, calls;
  } cases[] = {
      {true, 0, 0, 1, 1}, {false, 33, 0, 1, 2}, {false, 32, 32, 1, 3}, {false, 32, 31, 0, 3}};
  for (const auto& c : cases) {
    ScriptedApi scripted(c.shell_result, c.exec_result, c.create_ok);
    reports.clear();
    EXPECT_EQ(LaunchProcessWith(scripted, nullptr, "p.exe", nullptr, 1, nullptr), int(c.result));
    EXPECT_EQ(scripted.calls.size(), c.calls);
    EXPECT_EQ(reports.size(), 1u - c.result);
  }
  SetLaunchFailureReporter(nullptr);
}

TEST(LauncherTest, CommandLinesQuoteAProgramPathWithBlanks) {
  const char* const rows[][4] = {
      // folder, program, arguments, command line
      {"C:\\Ludoria\\KOREAN", "tabla.exe", "P=1", "C:\\Ludoria\\KOREAN\\tabla.exe P=1"},
      {"D:\\My Games\\KOREAN", "tabla.EXE -popupwindow", "P=1",
       "\"D:\\My Games\\KOREAN\\tabla.EXE\" -popupwindow P=1"},
      {nullptr, "C:\\Users\\Jo Kim\\Temp\\ldstarter.exe", "/clone x",
       "\"C:\\Users\\Jo Kim\\Temp\\ldstarter.exe\" /clone x"},
      {nullptr, "explorer.exe", "/e,C:\\My Games", "explorer.exe /e,C:\\My Games"},
  };
  for (const auto& row : rows) EXPECT_EQ(LaunchCommandLine(row[0], row[1], row[2]), row[3]);
  // The shell takes the file apart from its parameters, so it stays unquoted.
  ScriptedApi api(2, 2);
  LaunchProcessWith(api, "D:\\My Games", "g.exe", "a", 1, nullptr);
  EXPECT_EQ(api.calls[0], "\"D:\\My Games\\g.exe\" a||D:\\My Games|1");
  EXPECT_EQ(api.calls[1], "D:\\My Games\\g.exe|a|D:\\My Games|1");
}

}  // namespace
}  // namespace ld
