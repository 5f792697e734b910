#include "starter/platform/process_launcher.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "starter/platform/folders.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::ScratchFolder;

TEST(IntegrityLevelTest, RidsMapToLevels) {
  struct Case {
    DWORD rid;
    int level;
  };
  const Case cases[] = {
      {0x0000, -1}, {0x0FFF, -1}, {0x1000, 0}, {0x1001, -1}, {0x1FFF, -1}, {0x2000, 1},
      {0x2100, 1},  {0x2FFF, 1},  {0x3000, 2}, {0x3FFF, 2},  {0x4000, 3},  {0x5000, 3},
  };
  for (const Case& c : cases) EXPECT_EQ(IntegrityLevelFromRid(c.rid), c.level) << c.rid;
  int level = IntegrityLevel();
  EXPECT_GE(level, -1);
  EXPECT_LE(level, 3);
}

TEST(LaunchTextTest, CommandTexts) {
  EXPECT_EQ(LaunchCommandText("C:\\G", "game.exe", "k22e=x&y"), "C:\\G\\game.exe k22e=x&y");
  EXPECT_EQ(LaunchCommandText("C:\\G", "VaRidirOro.exe", nullptr), "C:\\G\\VaRidirOro.exe");
  EXPECT_EQ(LaunchCommandText(nullptr, "explorer.exe", "C:\\x"), "explorer.exe C:\\x");
  EXPECT_EQ(LaunchCommandText(nullptr, "a.exe", ""), "a.exe ");
}

TEST(LaunchTextTest, FailureTextsWithAndWithoutTheIntegrityLevel) {
  EXPECT_EQ(LaunchFailureText(2, 2, 2, -1, "C:\\G", "game.exe"),
            "[ERR] Fail to CreateProcess() ShellExecute() WinExec() api\n"
            "[SYS ERR  : CreateProcess() = 2, ShellExecute() = 2, WinExec() = 2]\n"
            "[CUR DIR : C:\\G\\game.exe]\n");
  EXPECT_EQ(LaunchFailureText(5, 5, 0, 1, "C:\\G", "game.exe"),
            "[ERR] Fail to CreateProcess() ShellExecute() WinExec() api\n"
            "[SYS ERR  : CreateProcess() = 5, ShellExecute() = 5, WinExec() = 0]\n"
            "[Process Integrity Level : 1\n"
            "[CUR DIR : C:\\G\\game.exe]\n");
  std::string long_text = LaunchFailureText(2, 2, 2, -1, std::string(900, 'f'), "p.exe");
  EXPECT_EQ(long_text.size(), kLaunchFailureTextLimit);
}

// Records the calls and answers from a script; a call marked "real" goes to
// the system instead.
class ScriptedApi : public LaunchApi {
 public:
  struct Call {
    std::string method, text, parameters, folder;
    int show;
  };
  bool create_ok = false;
  DWORD create_error = ERROR_FILE_NOT_FOUND;
  int shell_result = SE_ERR_FNF;
  unsigned exec_result = ERROR_FILE_NOT_FOUND;
  bool real_shell = false;
  bool real_exec = false;
  std::vector<Call> calls;

  bool TryCreateProcess(const std::string& command, const char* folder, int show,
                        DWORD* error) override {
    calls.push_back({"CreateProcess", command, "", folder ? folder : "(none)", show});
    if (!create_ok) *error = create_error;
    return create_ok;
  }
  int TryShellExecute(const std::string& file, const char* parameters, const char* folder,
                      int show) override {
    calls.push_back({"ShellExecute", file, parameters ? parameters : "(none)",
                     folder ? folder : "(none)", show});
    return real_shell ? system_.TryShellExecute(file, parameters, folder, show) : shell_result;
  }
  unsigned TryWinExec(const std::string& command, int show) override {
    calls.push_back({"WinExec", command, "", "", show});
    return real_exec ? system_.TryWinExec(command, show) : exec_result;
  }

 private:
  SystemLaunchApi system_;
};

class LauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLaunchFailureReporter([this](std::uint32_t code, const std::string& text) {
      reports_.push_back({code, text});
    });
  }
  void TearDown() override { SetLaunchFailureReporter(nullptr); }
  std::vector<std::pair<std::uint32_t, std::string>> reports_;
};

TEST_F(LauncherTest, TriesTheThreeMethodsInOrderAndReportsWhenAllFail) {
  ScriptedApi api;
  std::string failure;
  EXPECT_EQ(LaunchProcessWith(api, "C:\\Games", "game.exe", "a b", 5, &failure), 0);
  ASSERT_EQ(api.calls.size(), 3u);
  EXPECT_EQ(api.calls[0].method, "CreateProcess");
  EXPECT_EQ(api.calls[0].text, "C:\\Games\\game.exe a b");
  EXPECT_EQ(api.calls[0].folder, "C:\\Games");
  EXPECT_EQ(api.calls[0].show, 5);
  EXPECT_EQ(api.calls[1].method, "ShellExecute");
  EXPECT_EQ(api.calls[1].text, "C:\\Games\\game.exe");
  EXPECT_EQ(api.calls[1].parameters, "a b");
  EXPECT_EQ(api.calls[1].folder, "C:\\Games");
  EXPECT_EQ(api.calls[1].show, SW_SHOWNORMAL);
  EXPECT_EQ(api.calls[2].method, "WinExec");
  EXPECT_EQ(api.calls[2].text, "C:\\Games\\game.exe a b");
  EXPECT_EQ(api.calls[2].show, SW_SHOWNORMAL);

  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(reports_[0].first, 0x00180007u);
  EXPECT_EQ(reports_[0].second, failure);
  EXPECT_EQ(failure, LaunchFailureText(2, 2, 2, -1, "C:\\Games", "game.exe"));
}

TEST_F(LauncherTest, AccessDeniedStillTriesWinExecAndNamesTheIntegrityLevel) {
  ScriptedApi api;
  api.create_error = ERROR_ACCESS_DENIED;
  api.shell_result = SE_ERR_ACCESSDENIED;
  std::string failure;
  EXPECT_EQ(LaunchProcessWith(api, "C:\\Games", "game.exe", nullptr, 0, &failure), 0);
  ASSERT_EQ(api.calls.size(), 3u);
  EXPECT_EQ(api.calls[1].parameters, "(none)");
  EXPECT_EQ(api.calls[1].show, SW_HIDE);
  EXPECT_EQ(api.calls[2].show, SW_HIDE);
  EXPECT_EQ(failure, LaunchFailureText(5, 5, 2, IntegrityLevel(), "C:\\Games", "game.exe"));
  EXPECT_NE(failure.find("[Process Integrity Level : "), std::string::npos);
}

TEST_F(LauncherTest, StopsAtTheFirstMethodThatWorks) {
  struct Case {
    bool create_ok;
    int shell_result;
    unsigned exec_result;
    int result;
    std::size_t calls;
  };
  const Case cases[] = {
      {true, 0, 0, 1, 1u},
      {false, 33, 0, 1, 2u},
      {false, 32, 32, 1, 3u},
      {false, 32, 31, 0, 3u},
  };
  for (const Case& c : cases) {
    ScriptedApi api;
    api.create_ok = c.create_ok;
    api.shell_result = c.shell_result;
    api.exec_result = c.exec_result;
    reports_.clear();
    EXPECT_EQ(LaunchProcessWith(api, nullptr, "p.exe", nullptr, 1, nullptr), c.result);
    EXPECT_EQ(api.calls.size(), c.calls);
    EXPECT_EQ(reports_.size(), c.result == 1 ? 0u : 1u);
  }
}

TEST_F(LauncherTest, WithoutAFolderTheFailureNamesTheCurrentFolder) {
  ScriptedApi api;
  std::string failure;
  LaunchProcessWith(api, nullptr, "p.exe", nullptr, 1, &failure);
  char current[MAX_PATH] = {};
  ::GetCurrentDirectoryA(sizeof(current), current);
  EXPECT_NE(failure.find(std::string("[CUR DIR : ") + current + "\\p.exe]"), std::string::npos)
      << failure;
  EXPECT_EQ(api.calls[0].folder, "(none)");
}

// Starts tests/win/echo_args.exe (built beside this program), which writes
// its command line and current folder to the file LD_ECHO_ARGS_OUT names.
class EchoLaunchTest : public LauncherTest {
 protected:
  void SetUp() override {
    LauncherTest::SetUp();
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    folder_ = self;
    folder_.resize(folder_.find_last_of('\\'));
    out_ = scratch_.Sub("echo.txt");
    ::SetEnvironmentVariableA("LD_ECHO_ARGS_OUT", out_.c_str());
  }
  void TearDown() override {
    ::SetEnvironmentVariableA("LD_ECHO_ARGS_OUT", nullptr);
    LauncherTest::TearDown();
  }

  // Waits (bounded) for the helper's file: its command line and folder. The
  // file may show up a moment before it can be opened, so opening is retried.
  bool ReadEcho(std::string* command, std::string* folder) {
    for (int i = 0; i < 300; ++i) {
      if (IsPlainFile(out_)) {
        std::ifstream in(out_, std::ios::binary);
        if (in && std::getline(in, *command) && std::getline(in, *folder)) return true;
      }
      ::Sleep(50);
    }
    return false;
  }

  ScratchFolder scratch_;
  std::string folder_;
  std::string out_;
};

TEST_F(EchoLaunchTest, ShellExecuteStartsItWhenCreateProcessIsRefused) {
  ScriptedApi api;
  api.real_shell = true;
  EXPECT_EQ(LaunchProcessWith(api, folder_.c_str(), "echo_args.exe", "one two", 5, nullptr), 1);
  EXPECT_EQ(api.calls.size(), 2u);
  std::string command, folder;
  ASSERT_TRUE(ReadEcho(&command, &folder));
  // The shell quotes the program path its own way; the arguments arrive as given.
  EXPECT_NE(command.find("echo_args.exe"), std::string::npos) << command;
  EXPECT_EQ(command.substr(command.size() - 8), " one two") << command;
  EXPECT_EQ(folder, folder_);
}

TEST_F(EchoLaunchTest, WinExecStartsItWhenTheOtherTwoAreRefused) {
  ScriptedApi api;
  api.real_exec = true;
  EXPECT_EQ(LaunchProcessWith(api, folder_.c_str(), "echo_args.exe", "three", 0, nullptr), 1);
  EXPECT_EQ(api.calls.size(), 3u);
  std::string command, folder;
  ASSERT_TRUE(ReadEcho(&command, &folder));
  EXPECT_EQ(command, folder_ + "\\echo_args.exe three");
}

TEST_F(EchoLaunchTest, AMissingProgramFailsAllThreeWaysAndIsReported) {
  EXPECT_EQ(LaunchProcess(folder_.c_str(), "no_such_program_hh.exe", "x", 5), 0);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(reports_[0].first, 0x00180007u);
  EXPECT_NE(reports_[0].second.find("[CUR DIR : " + folder_ + "\\no_such_program_hh.exe]"),
            std::string::npos)
      << reports_[0].second;
  EXPECT_EQ(reports_[0].second.rfind("[ERR] Fail to CreateProcess() ShellExecute() WinExec() api\n"
                                     "[SYS ERR  : CreateProcess() = 2,",
                                     0),
            0u)
      << reports_[0].second;
}

}  // namespace
}  // namespace ld
