#include "core/catalogue/catalogue.h"

#include <algorithm>
#include <cstdio>

#include "core/profile/profile_file.h"

namespace ld {

std::string GameIdKey(int index) {
  char key[32];
  std::snprintf(key, sizeof key, kGameIdKeyFormat, index);
  return key;
}

namespace {

bool IsWordSeparator(char c) {
  return c == '\0' || c == '\t' || c == ' ' || c == '&' || c == ',' || c == '/' || c == '|';
}

bool IsPrintableAscii(char c) { return c >= 0x20 && c <= 0x7E; }

}  // namespace

bool ReadPresentKey(const ProfileReader& reader, const std::string& section, const std::string& key,
                    std::string* value) {
  std::string got = reader.GetString(section, key, "x");
  if (got != "x") {
    *value = got;
    return true;
  }
  // The value may be "x" itself; a second default tells it apart.
  if (reader.GetString(section, key, "y") != "y") {
    *value = "x";
    return true;
  }
  return false;
}

std::vector<std::string> ReadGameIdList(const ProfileReader& reader, const std::string& section) {
  std::vector<std::string> games;
  std::string value;
  for (int index = 1; index > 0 && ReadPresentKey(reader, section, GameIdKey(index), &value);
       ++index) {
    if (!value.empty()) games.push_back(value);
  }
  return games;
}

std::vector<std::string> SplitSectionWords(const std::string& line) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsWordSeparator(line[at])) ++at;
    std::size_t end = at;
    while (end < line.size() && !IsWordSeparator(line[end])) ++end;
    if (end > at) words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

bool SectionListsGame(const std::vector<std::string>& lines, const std::string& game_id) {
  for (const std::string& line : lines) {
    for (const std::string& word : SplitSectionWords(line)) {
      if (IsPrintableAscii(word[0]) && ProfileNameEquals(word, game_id)) return true;
    }
  }
  return false;
}

std::string NormaliseShortcutIconPath(const std::string& path) {
  std::string out = path;
  std::replace(out.begin(), out.end(), '/', '\\');
  if (!out.empty() && out[0] == '\\') out.erase(0, 1);
  return out;
}

std::string GameSpecSection(const std::string& game_id) { return "GameSpec." + game_id; }

bool CompanionRunsFor(const CompanionProgram& companion, const std::string& game_id) {
  if (companion.file.empty()) return false;
  if (companion.all) return true;
  return std::find(companion.games.begin(), companion.games.end(), game_id) !=
         companion.games.end();
}

void ReadCatalogue(const ProfileReader& reader, const std::string& game_id,
                   const std::string& default_shortcut_name, Catalogue* catalogue) {
  for (auto& games : catalogue->base_games) games.clear();
  catalogue->companion = CompanionProgram();

  for (int kind = kFirstListedBaseKind; kind < kPackageKindCount; ++kind)
    catalogue->base_games[kind] = ReadGameIdList(reader, BaseSectionOfKind(kind));

  catalogue->companion.file = reader.GetString(kCompanionSection, "file", "");
  catalogue->companion.all = reader.GetInt(kCompanionSection, "all", 0) == 1;
  if (!catalogue->companion.all)
    catalogue->companion.games = ReadGameIdList(reader, kCompanionSection);

  const std::string game_section = GameSpecSection(game_id);
  ShortcutSettings& shortcut = catalogue->shortcut;
  shortcut.in_browser = reader.GetString(game_section, kShortcutInBrowserKey, "") == "true";
  shortcut.url = reader.GetString(game_section, kShortcutUrlKey, "");
  if (!shortcut.url.empty()) {
    shortcut.name = reader.GetString(game_section, kShortcutNameKey, default_shortcut_name);
    shortcut.desc = reader.GetString(game_section, kShortcutDescKey, "");
    shortcut.icon_path =
        NormaliseShortcutIconPath(reader.GetString(game_section, kShortcutIconKey, ""));
  }

  catalogue->popup = SectionListsGame(reader.GetSection(kPopupSection), game_id);
  catalogue->no_base2005 = SectionListsGame(reader.GetSection(kNoBase2005Section), game_id);
}

}  // namespace ld
