// The game kind catalogue ("gamekind.ini"): which games share which base
// package, the companion program, the pop-up and no-common-base lists, and
// the launched game's desktop shortcut. This file reads the values through a
// ProfileReader; the download of the file belongs to the installation driver
// and the decisions built on the values to core/catalogue/catalogue_packages.h.
//
// Threads: the installation driver reads the catalogue into the application
// object once per run; afterwards the game launch and the shell integration
// read the values on the same thread. Reading cannot fail: a missing file or
// key gives each value its default.
#pragma once

#include <string>
#include <vector>

#include "core/catalogue/package_kind.h"
#include "core/profile/profile_reader.h"

namespace ld {

struct CompanionProgram {
  std::string file;                // program file name in the install folder
  bool all = false;                // "all" read as 1: runs for every game
  std::vector<std::string> games;  // read only when all is false
};

struct ShortcutSettings {
  bool in_browser = false;  // "ShortCut_IE" is exactly "true"
  std::string url;          // empty: no shortcut
  std::string name;
  std::string desc;
  std::string icon_path;  // backslashes, no leading one
};

struct Catalogue {
  // Games of each base package, indexed by package kind; only kinds 2 to 5
  // are read (kind 1's list stays empty).
  std::vector<std::string> base_games[kPackageKindCount];
  CompanionProgram companion;
  ShortcutSettings shortcut;
  bool popup = false;        // the launched game is listed under "unity_games"
  bool no_base2005 = false;  // the launched game is listed under "no_base2005"
};

// Reads the catalogue for the launched game_id into *catalogue: the four base
// game lists, the companion program, the shortcut of section "GameSpec." +
// game_id and both flags. The game lists and the companion program are
// emptied first; the shortcut's browser flag is cleared and its address read,
// but name, description and icon path are read only when the address is not
// empty and otherwise keep what they held. default_shortcut_name is the name
// when "ShortCut_Name" is missing: the launch string's game name (its k60e
// value, LaunchRecord::game_code), not the title shown in windows.
void ReadCatalogue(const ProfileReader& reader, const std::string& game_id,
                   const std::string& default_shortcut_name, Catalogue* catalogue);

// Whether key exists in section, told apart from a default answer by reading
// it with the defaults "x" and "y"; *value gets the value when present.
bool ReadPresentKey(const ProfileReader& reader, const std::string& section, const std::string& key,
                    std::string* value);

// The values of "GameID1", "GameID2", ... of section in key order, up to the
// first absent key; present keys with empty values are skipped.
std::vector<std::string> ReadGameIdList(const ProfileReader& reader, const std::string& section);

// Whether the lines of a word-list section name game_id: the lines are cut
// into words at tab, space, "&", ",", "/" and "|"; a word that starts with a
// printable ASCII character and equals game_id without regard to case lists
// the game. "TABLA=1" stays one word and lists nothing.
bool SectionListsGame(const std::vector<std::string>& lines, const std::string& game_id);

// The words of one line as SectionListsGame cuts them.
std::vector<std::string> SplitSectionWords(const std::string& line);

// "/" becomes "\", then one leading "\" is dropped.
std::string NormaliseShortcutIconPath(const std::string& path);

// "GameSpec." + game_id.
std::string GameSpecSection(const std::string& game_id);

// Whether the companion program runs for game_id: a file is named and either
// it runs for all games or game_id is in its list (compared exactly).
bool CompanionRunsFor(const CompanionProgram& companion, const std::string& game_id);

// Key names and sections of the catalogue, shared with the editing helpers.
inline constexpr char kCompanionSection[] = "DEEPRUN";
inline constexpr char kPopupSection[] = "unity_games";
inline constexpr char kNoBase2005Section[] = "no_base2005";
inline constexpr char kGameIdKeyFormat[] = "GameID%d";
inline constexpr char kShortcutInBrowserKey[] = "ShortCut_IE";
inline constexpr char kShortcutUrlKey[] = "ShortCut_URL";
inline constexpr char kShortcutNameKey[] = "ShortCut_Name";
inline constexpr char kShortcutDescKey[] = "ShortCut_desc";
inline constexpr char kShortcutIconKey[] = "ShortCut_IconPath";

// "GameID<index>", the key of one entry of a GameID list.
std::string GameIdKey(int index);

}  // namespace ld
