#include "tools/ldtool/publish_catalogue.h"

#include <filesystem>

#include "core/package_kind.h"
#include "core/profile_file.h"
#include "core/profile_writer.h"
#include "tools/ldtool/publish_package.h"
#include "tools/ldtool/publish_scan.h"

namespace ld::tool {
namespace {

constexpr char kWordSeparators[] = " \t&,/|";

// The catalogue section of a base given by section or package name.
std::string BaseSection(const std::string& name) {
  int kind = PackageKindOfName(name);
  if (kind >= kFirstListedBaseKind) return BaseSectionOfKind(kind);
  for (int k = kFirstListedBaseKind; k < kPackageKindCount; ++k)
    if (AsciiLower(name) == AsciiLower(BaseSectionOfKind(k))) return BaseSectionOfKind(k);
  return "";
}

// The starter's presence test: reading with "x" and with "y" as defaults.
bool KeyPresent(const ProfileFile& file, const std::string& section, const std::string& key) {
  return file.GetString(section, key, "x") != "x" || file.GetString(section, key, "y") != "y";
}

// Appends game to the "GameID<n>" list of section unless the list, as the
// starter reads it (up to the first absent key), already holds it.
void AddToGameIdList(ProfileWriter& writer, const std::string& section, const std::string& game) {
  ProfileFile file;
  file.Parse(writer.Text());
  for (int n = 1;; ++n) {
    std::string key = "GameID" + std::to_string(n);
    if (!KeyPresent(file, section, key)) {
      writer.SetValue(section, key, game);
      return;
    }
    if (file.GetString(section, key, "") == game) return;
  }
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < line.size()) {
    size_t end = line.find_first_of(kWordSeparators, start);
    if (end == std::string::npos) end = line.size();
    if (end > start) words.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

bool Listed(const ProfileWriter& writer, const std::string& section, const std::string& game) {
  ProfileFile file;
  file.Parse(writer.Text());
  for (const std::string& line : file.GetSection(section))
    for (const std::string& word : Words(line))
      if (AsciiLower(word) == AsciiLower(game)) return true;
  return false;
}

// Lists game in a word-list section, or takes it out of every line (lines
// that held other games too keep those, joined by ",").
void SetListed(ProfileWriter& writer, const std::string& section, const std::string& game,
               bool listed) {
  if (listed) {
    if (!Listed(writer, section, game)) writer.AddLine(section, game);
    return;
  }
  writer.EditLines(section, [&game](std::string& line) {
    std::vector<std::string> kept;
    bool hit = false;
    for (const std::string& word : Words(line)) {
      if (AsciiLower(word) == AsciiLower(game))
        hit = true;
      else
        kept.push_back(word);
    }
    if (!hit) return true;
    if (kept.empty()) return false;
    line.clear();
    for (const std::string& w : kept) line += (line.empty() ? "" : ",") + w;
    return true;
  });
}

}  // namespace

bool CatalogueOptions::AnyEntry() const {
  return !bases.empty() || popup || no_base2005 || companion || companion_file || companion_all ||
         shortcut_ie || shortcut_url || shortcut_name || shortcut_desc || shortcut_icon;
}

bool UpdateCatalogue(const std::string& path, const CatalogueOptions& options, bool* changed,
                     std::string* error) {
  *changed = false;
  if (options.AnyEntry() && options.game.empty()) {
    *error = "catalogue entries need a game id (--game)";
    return false;
  }
  for (const std::string& base : options.bases) {
    if (BaseSection(base).empty()) {
      *error =
          "unknown base '" + base + "' (TABLA, TABLA_DX, FLORAEX, LEISUREDECK or their packages)";
      return false;
    }
  }
  ProfileWriter writer;
  std::error_code ec;
  bool existed = std::filesystem::exists(path, ec);
  if (!writer.Load(path)) {
    *error = "cannot read catalogue " + path;
    return false;
  }
  const std::string before = writer.Text();
  const std::string& game = options.game;
  for (const std::string& base : options.bases) AddToGameIdList(writer, BaseSection(base), game);
  if (options.companion_file) writer.SetValue("DEEPRUN", "file", *options.companion_file);
  if (options.companion_all) writer.SetValue("DEEPRUN", "all", *options.companion_all ? "1" : "0");
  if (options.companion.value_or(false)) AddToGameIdList(writer, "DEEPRUN", game);
  const std::string spec = "GameSpec." + game;
  if (options.shortcut_ie) writer.SetValue(spec, "ShortCut_IE", *options.shortcut_ie);
  if (options.shortcut_url) writer.SetValue(spec, "ShortCut_URL", *options.shortcut_url);
  if (options.shortcut_name) writer.SetValue(spec, "ShortCut_Name", *options.shortcut_name);
  if (options.shortcut_desc) writer.SetValue(spec, "ShortCut_desc", *options.shortcut_desc);
  if (options.shortcut_icon) writer.SetValue(spec, "ShortCut_IconPath", *options.shortcut_icon);
  if (options.popup) SetListed(writer, "unity_games", game, *options.popup);
  if (options.no_base2005) SetListed(writer, "no_base2005", game, *options.no_base2005);

  const std::string after = writer.Text();
  *changed = after != before;
  if (!*changed && existed) return true;
  if (!WriteFileAtomically(path, after, error)) return false;
  return true;
}

}  // namespace ld::tool
