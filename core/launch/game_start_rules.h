// Texts of the game start: the hand-over of the launch string, the game's
// program path and command, the companion program's arguments. Pure; any
// thread.
#pragma once

#include <string>
#include <string_view>

namespace ld {

// The third gamestring: everything behind the first "ludoria://" of the
// second gamestring, unchanged. False when there is no prefix (the game is
// then not started).
bool HandoverText(std::string_view second_gamestring, std::string* third_gamestring);

// Caption of the dump of the third gamestring: "3rd gamestring (to <id>.exe)".
std::string HandoverCaption(const std::string& game_id);

// "<install folder>\<game id>.exe".
std::string GameExecutablePath(const std::string& install_folder, const std::string& game_id);

// "<game id>.exe", with " -popupwindow" for games listed under "unity_games".
std::string GameProgramText(const std::string& game_id, bool unity_game);

// "\"<game id>\" \"<member id>\" \"<install folder>\"".
std::string CompanionArguments(const std::string& game_id, const std::string& member_id,
                               const std::string& install_folder);

// The one game whose start is reported with the launch string's executor:
// the game id, upper-cased, is "TRIOKA".
bool ReportsExecutor(const std::string& game_id);

// String 256 ("...<%s %s>...") filled with the title and the game code; only
// the first two "%s" are filled.
std::string MissingExecutableText(const std::string& format, const std::string& title,
                                  const std::string& game_code);

}  // namespace ld
