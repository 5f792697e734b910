#include "tools/ldtool/publish_catalogue.h"

#include <filesystem>

#include "core/base/ascii.h"
#include "core/catalogue/catalogue.h"
#include "core/catalogue/catalogue_edit.h"
#include "core/catalogue/package_kind.h"
#include "core/profile/profile_file.h"
#include "core/profile/profile_writer.h"
#include "tools/ldtool/publish_package.h"
#include "tools/ldtool/publish_scan.h"

namespace ld::tool {
namespace {

// The catalogue section of a base given by section or package name.
std::string BaseSection(const std::string& name) {
  int kind = PackageKindOfName(name);
  if (kind >= kFirstListedBaseKind) return BaseSectionOfKind(kind);
  for (int k = kFirstListedBaseKind; k < kPackageKindCount; ++k)
    if (EqualsIgnoreAsciiCase(name, BaseSectionOfKind(k))) return BaseSectionOfKind(k);
  return "";
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
  for (const std::string& base : options.bases) AddGameToIdList(&writer, BaseSection(base), game);
  if (options.companion_file) writer.SetValue(kCompanionSection, "file", *options.companion_file);
  if (options.companion_all)
    writer.SetValue(kCompanionSection, "all", *options.companion_all ? "1" : "0");
  if (options.companion.value_or(false)) AddGameToIdList(&writer, kCompanionSection, game);
  const std::string game_section = GameSpecSection(game);
  if (options.shortcut_ie)
    writer.SetValue(game_section, kShortcutInBrowserKey, *options.shortcut_ie);
  if (options.shortcut_url) writer.SetValue(game_section, kShortcutUrlKey, *options.shortcut_url);
  if (options.shortcut_name)
    writer.SetValue(game_section, kShortcutNameKey, *options.shortcut_name);
  if (options.shortcut_desc)
    writer.SetValue(game_section, kShortcutDescKey, *options.shortcut_desc);
  if (options.shortcut_icon)
    writer.SetValue(game_section, kShortcutIconKey, *options.shortcut_icon);
  if (options.popup) SetGameListed(&writer, kPopupSection, game, *options.popup);
  if (options.no_base2005) SetGameListed(&writer, kNoBase2005Section, game, *options.no_base2005);

  const std::string after = writer.Text();
  *changed = after != before;
  if (!*changed && existed) return true;
  if (!WriteFileAtomically(path, after, error)) return false;
  return true;
}

}  // namespace ld::tool
