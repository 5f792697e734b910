#include "starter/game/game_launch.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/base/checksum.h"
#include "starter/report/box_presenter.h"
#include "starter/platform/folders.h"
#include "starter/game/runtime_libraries.h"
#include "starter/platform/registry.h"
#include "starter/report/report_sender.h"
#include "starter/report/reporting_state.h"
#include "tests/win/support/portal_support.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::RecordingPresenter;
using test::ScratchFolder;

// Records every start; starts for real only what `real` names, and lets the
// rest succeed or fail as told.
class RecordingApi : public LaunchApi {
 public:
  struct Call {
    std::string command;
    std::string folder;
    int show;
  };
  bool succeed = true;
  std::string real;  // a program name whose starts go to the system
  std::vector<Call> creates;
  int other_methods = 0;

  bool TryCreateProcess(const std::string& command, const char* folder, int show,
                        DWORD* error) override {
    creates.push_back({command, folder ? folder : "", show});
    if (!real.empty() && command.find(real) != std::string::npos)
      return system_.TryCreateProcess(command, folder, show, error);
    if (!succeed) *error = ERROR_FILE_NOT_FOUND;
    return succeed;
  }
  int TryShellExecute(const std::string&, const char*, const char*, int) override {
    ++other_methods;
    return 2;
  }
  unsigned TryWinExec(const std::string&, int) override {
    ++other_methods;
    return 2;
  }

 private:
  SystemLaunchApi system_;
};

class GameLaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::GetCurrentDirectoryA(sizeof(previous_folder_), previous_folder_);
    // Reports of these cases go nowhere.
    ResetReportingState();
    ReportHosts hosts;
    hosts.collection = test::kDeadHost;
    SetReportHosts(hosts);
    record_.game_id = "tabla";
    record_.member_id = "m1";
    record_.game_title = "Tabla Title";
    record_.game_code = "TablaCode";
    record_.second_gamestring = "ludoria://TABLAchannel://c metp://a/b/c/;k93e:4=Game";
    game_.install_folder = folder_.path();
    game_.record = &record_;
    game_.catalogue = &catalogue_;
    game_.executables = &executables_;
    game_.flags = &flags_;
    game_.launcher = &api_;
    SetLaunchFailureReporter([this](std::uint32_t code, const std::string& text) {
      failures_.push_back(std::to_string(code) + ":" + text);
    });
  }
  void TearDown() override {
    SetLaunchFailureReporter(nullptr);
    WaitForReportSenders(10000);
    ResetReportingState();
    ::SetCurrentDirectoryA(previous_folder_);  // lets the scratch folder go
  }

  std::string Exe() const { return folder_.Sub("tabla.exe"); }

  static std::string OwnFolder() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string folder = self;
    return folder.substr(0, folder.find_last_of('\\'));
  }

  char previous_folder_[MAX_PATH] = {};
  ScratchFolder folder_;
  LaunchRecord record_;
  Catalogue catalogue_;
  ExecutableList executables_;
  ProgramFlags flags_;
  RecordingApi api_;
  GameLaunch game_;
  RecordingPresenter boxes_;
  std::vector<std::string> failures_;
};

TEST_F(GameLaunchTest, PrepareChecksTheProgramsAndWritesTheCompatibilityValue) {
  ScopedBoxPresenter scoped(&boxes_);
  ScratchFolder::WriteFile(Exe(), "game");
  executables_.push_back({Exe(), 4, FileChecksum(Exe())});
  EXPECT_TRUE(PrepareGame(game_));
  EXPECT_TRUE(boxes_.boxes.empty());
  RegistryKey key;
  ASSERT_EQ(OpenUserKey(kCompatibilityKey, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  std::string data;
  EXPECT_EQ(ReadTextValue(key.Get(), Exe(), &data), ERROR_SUCCESS);
  EXPECT_EQ(data, "DISABLECICERO");

  // Same size, another byte sum: string 257.
  ScratchFolder::WriteFile(Exe(), "gamf");
  EXPECT_FALSE(PrepareGame(game_));
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_NE(boxes_.boxes[0].caption.find("0018000E"), std::string::npos);

  // The program is gone: string 256 with title and code, in kind mode the path.
  boxes_.boxes.clear();
  ::DeleteFileA(Exe().c_str());
  flags_.kind_mode = true;
  EXPECT_FALSE(PrepareGame(game_));
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_NE(boxes_.boxes[0].caption.find("00180007"), std::string::npos);
  EXPECT_NE(boxes_.boxes[0].text.find("Tabla Title TablaCode"), std::string::npos)
      << boxes_.boxes[0].text;
  EXPECT_NE(boxes_.boxes[0].text.find("\n<" + Exe() + ">"), std::string::npos);
}

TEST_F(GameLaunchTest, PrivateRuntimeLibrariesFollowTheNewerCopy) {
  // A file with a version resource stands in for a newer private library;
  // a copy beside the game without a private one is removed.
  ASSERT_TRUE(CreateFolder(folder_.Sub("Sysfiles")));
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, sizeof(self));
  ASSERT_TRUE(::CopyFileA(self, folder_.Sub("Sysfiles\\MFC71.dll").c_str(), FALSE));
  ScratchFolder::WriteFile(folder_.Sub("msvcr71.dll"), "stale");
  RuntimeLibraryVersions versions;
  InstallPrivateRuntimeLibraries(folder_.path(), &versions);
  EXPECT_TRUE(versions.game_private[0].found);
  EXPECT_TRUE(IsPlainFile(folder_.Sub("MFC71.dll")));
  EXPECT_FALSE(FileExists(folder_.Sub("msvcr71.dll")));
  EXPECT_FALSE(FileExists(folder_.Sub("msvcp71.dll")));
}

TEST_F(GameLaunchTest, UnityGameGetsItsCommandLineAndFolder) {
  ASSERT_TRUE(::CopyFileA((OwnFolder() + "\\echo_args.exe").c_str(), Exe().c_str(), FALSE));
  const std::string out = folder_.Sub("echo.txt");
  ::SetEnvironmentVariableA("LD_ECHO_ARGS_OUT", out.c_str());
  catalogue_.popup = true;
  api_.real = "tabla.exe";
  ScopedBoxPresenter scoped(&boxes_);
  const bool started = StartGame(game_);
  ::SetEnvironmentVariableA("LD_ECHO_ARGS_OUT", nullptr);
  ASSERT_TRUE(started);
  std::string command, working;
  for (int i = 0; i < 200 && !IsPlainFile(out); ++i) ::Sleep(50);
  std::ifstream in(out, std::ios::binary);
  ASSERT_TRUE(std::getline(in, command) && std::getline(in, working));
  EXPECT_EQ(command, Exe() + " -popupwindow TABLAchannel://c metp://a/b/c/;k93e:4=Game");
  EXPECT_EQ(working, folder_.path());
  // The sound program went first, with the game id.
  ASSERT_GE(api_.creates.size(), 2u);
  EXPECT_EQ(api_.creates[0].command, folder_.Sub("VaRidirOro.exe tabla"));
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(GameLaunchTest, CompanionStartsHiddenOnlyWhenPresent) {
  catalogue_.companion.file = "helper.exe";
  catalogue_.companion.games = {"tabla"};
  ASSERT_TRUE(StartGame(game_));
  ASSERT_EQ(api_.creates.size(), 2u);  // sound and game; the companion is missing
  EXPECT_EQ(api_.creates[1].command,
            folder_.Sub("tabla.exe TABLAchannel://c metp://a/b/c/;k93e:4=Game"));

  api_.creates.clear();
  ScratchFolder::WriteFile(folder_.Sub("helper.exe"), "x");
  ASSERT_TRUE(StartGame(game_));
  ASSERT_EQ(api_.creates.size(), 3u);
  EXPECT_EQ(api_.creates[2].command,
            folder_.Sub("helper.exe \"tabla\" \"m1\" \"" + folder_.path() + "\""));
  EXPECT_EQ(api_.creates[2].show, SW_HIDE);
  EXPECT_EQ(api_.creates[2].folder, folder_.path());

  // Not listed for this game: not started.
  api_.creates.clear();
  catalogue_.companion.games = {"other"};
  ASSERT_TRUE(StartGame(game_));
  EXPECT_EQ(api_.creates.size(), 2u);
}

TEST_F(GameLaunchTest, HandoverDumpAndExecutorReport) {
  LD_REQUIRE_PORTAL();
  ReportHosts hosts;
  hosts.collection = test::PortalAddress();
  SetReportHosts(hosts);
  record_.game_id = "trioka";
  record_.executor = "web-x1";
  flags_.show_gamestring = true;
  ScopedBoxPresenter scoped(&boxes_);
  ASSERT_TRUE(StartGame(game_));
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].caption, "3rd gamestring (to trioka.exe)");
  EXPECT_EQ(boxes_.boxes[0].text.rfind("* 2nd Gamestring *\nTABLAchannel://", 0), 0u);
  EXPECT_TRUE(WaitForReportSenders(10000));
  const auto posts = test::LoggedRequests(
      [](const Json::Value& e) {
        return e["path"].asString() == kReportPath &&
               e["body"].asString().find("\"TRIOKA\"") != std::string::npos;
      },
      1);
  ASSERT_EQ(posts.size(), 1u);
  Json::Value record;
  ASSERT_TRUE(Json::Reader().parse(posts[0]["body"].asString(), record));
  EXPECT_EQ(record["errorCode"].asString(), "00190001");
  EXPECT_EQ(record["body"].asString(), "SUCCESS (RunGame)");
  EXPECT_EQ(record["executor"].asString(), "web-x1");

  // New format: the P form is handed over and dumped as a first gamestring.
  boxes_.boxes.clear();
  api_.creates.clear();
  flags_.new_format = true;
  record_.second_gamestring = "ludoria://P=&P0=bQ&P4=tok";
  ASSERT_TRUE(StartGame(game_));
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].text.rfind("* Commandline *\nP=&P0=bQ&P4=tok\n", 0), 0u);
  ASSERT_EQ(api_.creates.size(), 2u);
  EXPECT_EQ(api_.creates[1].command, folder_.Sub("trioka.exe P=&P0=bQ&P4=tok"));
}

TEST_F(GameLaunchTest, StartFailures) {
  ScopedBoxPresenter scoped(&boxes_);
  // Every launch method fails: the failure text is logged, string 258 shown.
  api_.succeed = false;
  EXPECT_FALSE(StartGame(game_));
  EXPECT_EQ(api_.other_methods, 4);  // shell start and WinExec, for sound and game
  ASSERT_EQ(failures_.size(), 2u);
  EXPECT_NE(failures_[1].find("[CUR DIR : " + folder_.Sub("tabla.exe") + "]"), std::string::npos);
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_NE(boxes_.boxes[0].caption.find("00180007 : tabla.exe"), std::string::npos)
      << boxes_.boxes[0].caption;

  // No "ludoria://" in the second gamestring: string 147, nothing started.
  boxes_.boxes.clear();
  api_.succeed = true;
  api_.creates.clear();
  record_.second_gamestring = "TABLAchannel://c metp://a/b/c/;k93e:4=Game";
  EXPECT_FALSE(StartGame(game_));
  EXPECT_EQ(api_.creates.size(), 1u);  // the sound program only
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_NE(boxes_.boxes[0].caption.find("000A0001"), std::string::npos);
}

}  // namespace
}  // namespace ld
