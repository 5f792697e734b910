#include "starter/game/game_launch.h"

#include <windows.h>
#include <shlobj.h>

#include "core/base/checksum.h"
#include "core/base/error_codes.h"
#include "core/launch/game_start_rules.h"
#include "starter/platform/folders.h"
#include "starter/game/runtime_libraries.h"
#include "starter/launch/launch_string_dump_box.h"
#include "starter/report/message_boxes.h"
#include "starter/platform/registry.h"
#include "starter/report/report_sender.h"
#include "starter/shell/shortcuts.h"
#include "starter/report/step_log_sender.h"
#include "starter/platform/string_table.h"

namespace ld {
namespace {

constexpr int kStepExecutablesInvalid = 246;
constexpr int kStepGameNotStarted = 248;

bool IsWindowsXpOrLater() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!::GetVersionExA(&info)) return false;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
}

// Keeps the text services out of the game's windows; failures do not matter.
void WriteCompatibilityValue(const std::string& executable) {
  if (!IsWindowsXpOrLater()) return;
  RegistryKey key;
  if (CreateUserKey(kCompatibilityKey, &key) != ERROR_SUCCESS) return;
  SetTextValue(key.Get(), executable, kCompatibilityData);
}

int Launch(const GameLaunch& game, const char* program, const char* arguments, int show) {
  if (game.launcher)
    return LaunchProcessWith(*game.launcher, game.install_folder.c_str(), program, arguments, show,
                             nullptr);
  return LaunchProcess(game.install_folder.c_str(), program, arguments, show);
}

}  // namespace

GameLaunch GameLaunchOf(cStarterApp& app, bool portal_shortcut) {
  GameLaunch game;
  game.install_folder = app.install_folder_settings().language_folder();
  game.record = &app.launch_record();
  game.catalogue = &app.catalogue();
  game.executables = &app.executables();
  game.flags = &app.flags();
  game.runtime = &app.runtime_libraries();
  game.portal_shortcut = portal_shortcut;
  game.record_lock = &app.launch_record_lock();
  return game;
}

bool ExecutableListHolds(const ExecutableList& executables) {
  for (const ExecutableEntry& entry : executables) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (entry.path.size() > MAX_PATH ||
        !::GetFileAttributesExA(entry.path.c_str(), GetFileExInfoStandard, &data))
      return false;
    if (data.nFileSizeHigh != 0 || data.nFileSizeLow != entry.size) return false;
    if (FileChecksum(entry.path) != entry.checksum) return false;
  }
  return true;
}

bool PrepareGame(const GameLaunch& game) {
  const LaunchRecord& record = *game.record;
  ::SetCurrentDirectoryA(game.install_folder.c_str());

  DesktopShortcutInputs shortcuts;
  shortcuts.language_folder = game.install_folder;
  shortcuts.game_id = record.game_id;
  shortcuts.game_title = record.game_title;
  shortcuts.home_address = record.home_address;
  shortcuts.game_shortcut = game.catalogue->shortcut;
  shortcuts.portal_shortcut = game.portal_shortcut;
  CreateDesktopShortcuts(shortcuts);

  RuntimeLibraryVersions scratch;
  InstallPrivateRuntimeLibraries(game.install_folder, game.runtime ? game.runtime : &scratch);

  const std::string executable = GameExecutablePath(game.install_folder, record.game_id);
  WriteCompatibilityValue(executable);

  const GamestringFormat format = game.flags->format();
  if (IsPlainFile(executable)) {
    if (ExecutableListHolds(*game.executables)) return true;
    StepLog(record.game_id, record.member_id, kStepExecutablesInvalid, format);
    ErrorBoxById(error_code::kExecutableInvalid, IDS_UPDATED_EXECUTABLES_INVALID);
    return false;
  }
  StepLog(record.game_id, record.member_id, kStepGameNotStarted, format);
  std::string message = MissingExecutableText(LoadText(IDS_EXECUTABLE_NOT_FOUND), record.game_title,
                                              record.game_code);
  CutAnsiText(&message, 259);
  if (game.flags->kind_mode) {
    ErrorBoxWithText(error_code::kGameStart, message + "\n<" + executable + ">");
  } else {
    Report(record.game_id, record.member_id, error_code::kGameStart, message.c_str());
    ErrorBoxWithText(error_code::kGameStart, message);
  }
  return false;
}

bool StartGame(const GameLaunch& game) {
  const LaunchRecord& record = *game.record;
  ::SetCurrentDirectoryA(game.install_folder.c_str());
  Launch(game, kSoundProgram, record.game_id.c_str(), kShowNormal);

  const std::string program = GameProgramText(record.game_id, game.catalogue->popup);
  std::string second;
  {
    std::unique_lock<std::mutex> hold;
    if (game.record_lock != nullptr) hold = std::unique_lock<std::mutex>(*game.record_lock);
    second = record.second_gamestring;
  }
  std::string third;
  if (!HandoverText(second, &third)) {
    Report(record.game_id, record.member_id, error_code::kInvalidGamestring, "Invalid game string.",
           "IDS_PG_INVALID_GAMESTRING");
    ErrorBoxById(error_code::kInvalidGamestring, IDS_PG_INVALID_GAMESTRING);
    return false;
  }
  const GamestringFormat format = game.flags->format();
  if (game.flags->show_gamestring) {
    // Old format: the answer's channel form; new format: the P form.
    ShowLaunchStringDump(format == GamestringFormat::kOld, third, HandoverCaption(record.game_id),
                         format);
  }
  if (!Launch(game, program.c_str(), third.c_str(), kShowNormal)) {
    StepLog(record.game_id, record.member_id, kStepGameNotStarted, format);
    ErrorBoxById(error_code::kGameStart, IDS_CANNOT_RUN_EXECUTABLE, program.c_str());
    return false;
  }
  const CompanionProgram& companion = game.catalogue->companion;
  if (CompanionRunsFor(companion, record.game_id) &&
      IsPlainFile(game.install_folder + "\\" + companion.file)) {
    const std::string arguments =
        CompanionArguments(record.game_id, record.member_id, game.install_folder);
    Launch(game, companion.file.c_str(), arguments.c_str(), SW_HIDE);
  }
  ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  if (ReportsExecutor(record.game_id)) {
    Report(record.game_id, record.member_id, error_code::kExecutorMilestone, "SUCCESS (RunGame)",
           nullptr, record.executor.c_str());
  }
  return true;
}

}  // namespace ld
