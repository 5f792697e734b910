// The game start's own decisions (the real start, its folder and the
// string the game receives are left to the end-to-end runs): program checks
// and their boxes, the command lines of the unity and companion cases and
// the start failures.
#include "starter/game/game_launch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/checksum.h"
#include "starter/platform/registry.h"
#include "starter/report/report_sender.h"
#include "starter/report/reporting_state.h"
#include "tests/win/support/portal_support.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::ScratchFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Records every process start instead of making it; all succeed or all
// fail. The shell and WinExec routes always fail.
struct RecordingApi : LaunchApi {
  bool TryCreateProcess(const std::string& command, const char* folder, int show,
                        DWORD* error) override {
    creates.push_back(command +
                      (show == SW_HIDE ? " [hidden in " + std::string(folder) + "]" : ""));
    if (!succeed) *error = ERROR_FILE_NOT_FOUND;
    return succeed;
  }
  int TryShellExecute(const std::string&, const char*, const char*, int) override { return 2; }
  unsigned TryWinExec(const std::string&, int) override { return 2; }
  bool succeed = true;
  std::vector<std::string> creates;
};

TEST(GameLaunch, ProgramChecksCommandLinesAndStartFailures) {
  ResetReportingState();  // reports of these cases go nowhere
  ReportHosts hosts;
  hosts.collection = test::kDeadHost;
  SetReportHosts(hosts);
  ScratchFolder folder;
  auto in = [&folder](const std::string& rest) { return folder.Sub(rest); };
  LaunchRecord record;
  record.game_id = "tabla";
  record.member_id = "m1";
  record.game_title = "Tabla Title";
  record.game_code = "TablaCode";
  const std::string args = " TABLAchannel://c metp://a/b/c/;k93e:4=Game";
  record.second_gamestring = "ludoria://" + args.substr(1);
  Catalogue catalogue;
  ExecutableList executables;
  ProgramFlags flags;
  RecordingApi api;
  GameLaunch game{folder.path(), &record, &catalogue, &executables, &flags, nullptr, false, &api};
  test::RecordingPresenter boxes;
  ScopedBoxPresenter scoped{&boxes};

  ScratchFolder::WriteFile(in("tabla.exe"), "game");
  executables.push_back({in("tabla.exe"), 4, FileChecksum(in("tabla.exe"))});
  EXPECT_TRUE(PrepareGame(game));
  RegistryKey key;
  std::string data;
  ASSERT_EQ(OpenUserKey(kCompatibilityKey, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  EXPECT_EQ(ReadTextValue(key.Get(), in("tabla.exe"), &data), ERROR_SUCCESS);
  EXPECT_EQ(data, "DISABLECICERO");

  auto starts = [&](bool started) {
    api.creates.clear();
    EXPECT_EQ(started, StartGame(game));
    return api.creates;
  };
  const std::string sound = in("VaRidirOro.exe tabla");
  catalogue.companion = {"helper.exe", false, {"tabla"}};
  EXPECT_THAT(starts(true), ElementsAre(sound, in("tabla.exe") + args));  // no companion file
  ScratchFolder::WriteFile(in("helper.exe"), "x");
  EXPECT_THAT(starts(true), ElementsAre(sound, in("tabla.exe") + args,
                                        in("helper.exe \"tabla\" \"m1\" \"" + folder.path() +
                                           "\" [hidden in " + folder.path() + "]")));
  // Listed for another game only: not started. A unity game gets its switch.
  catalogue.companion.games = {"other"};
  catalogue.popup = true;
  EXPECT_THAT(starts(true), ElementsAre(sound, in("tabla.exe -popupwindow") + args));

  // Same size, another byte sum: string 257. The program gone: string 256
  // with title and code. Every launch method fails:
  // string 258. No "ludoria://" in the second gamestring: string 147, only
  // the sound program started.
  ScratchFolder::WriteFile(in("tabla.exe"), "gamf");
  EXPECT_FALSE(PrepareGame(game));
  ::DeleteFileA(in("tabla.exe").c_str());
  EXPECT_FALSE(PrepareGame(game));
  api.succeed = false;
  starts(false);
  api.succeed = true;
  record.second_gamestring = args.substr(1);
  EXPECT_THAT(starts(false), ElementsAre(sound));
  std::vector<std::string> shown;
  for (const test::ShownBox& box : boxes.boxes) shown.push_back(box.caption + "|" + box.text);
  EXPECT_THAT(shown, ElementsAre(HasSubstr("0018000E"), HasSubstr("Tabla Title TablaCode"),
                                 HasSubstr("00180007 : tabla.exe"), HasSubstr("000A0001")));
  WaitForReportSenders(10000);
  ResetReportingState();
}

}  // namespace
}  // namespace ld
