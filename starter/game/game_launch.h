// The last two steps of an installation run: prepare the installed game
// (working folder, shortcuts, private runtime libraries, compatibility value,
// executable check) and start it with the third launch string, followed by
// the sound and companion programs.
//
// Threads: the installation driver thread. Both operations block until done
// and tell the user and the logs about their failures themselves; the caller
// only turns false into the failure of its step. The inputs are borrowed from
// the application object for the call.
#pragma once

#include <mutex>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/install/executable_list.h"
#include "core/launch/launch_record.h"
#include "core/launch/program_flags.h"
#include "starter/platform/process_launcher.h"
#include "starter/app/starter_app.h"

namespace ld {

inline constexpr char kSoundProgram[] = "VaRidirOro.exe";
inline constexpr char kCompatibilityKey[] =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
inline constexpr char kCompatibilityData[] = "DISABLECICERO";
// Show code of the game and the sound program; the companion runs hidden.
inline constexpr int kShowNormal = 5;

struct GameLaunch {
  std::string install_folder;  // the language folder: the game's working folder
  const LaunchRecord* record = nullptr;
  const Catalogue* catalogue = nullptr;
  const ExecutableList* executables = nullptr;
  const ProgramFlags* flags = nullptr;
  RuntimeLibraryVersions* runtime = nullptr;
  bool portal_shortcut = false;   // the user kept the desktop-shortcut option
  LaunchApi* launcher = nullptr;  // null: the system's three launch methods
  // Guards the record's second gamestring, which the refresh timer replaces
  // on the window's thread; null: nothing else writes the record.
  std::mutex* record_lock = nullptr;
};

// The inputs as the application object holds them.
GameLaunch GameLaunchOf(cStarterApp& app, bool portal_shortcut);

// True when every listed program file is readable with its listed size and
// byte sum; an empty list passes.
bool ExecutableListHolds(const ExecutableList& executables);

// True when the game may be started. False after step-log 246 and the box
// 0x0018000E (a listed program changed) or step-log 248 and the box and log
// record 0x00180007 (the game's program is missing).
bool PrepareGame(const GameLaunch& game);

// True when the game's program was started. False after the box 0x000A0001
// (no "ludoria://" in the second gamestring) or step-log 248 and the box
// 0x00180007 (every launch method failed).
bool StartGame(const GameLaunch& game);

}  // namespace ld
