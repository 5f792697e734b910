// The game kind catalogue "gamekind.ini" of a download-server tree, created
// or updated for one game by `ldtool publish`. Only the entries asked for
// change; every other line of an existing catalogue stays as it was, and
// asking for the same entries again changes nothing (so republishing leaves
// the file byte-identical).
//
// Threads: ldtool's main thread. Failures (an unreadable or unwritable file,
// an unknown base name) return false with *error set and leave the file as
// it was.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ld::tool {

struct CatalogueOptions {
  std::string game;  // the game id the entries are about; required for any entry
  // Base packages the game uses, by section ("TABLA", "TABLA_DX", "FLORAEX",
  // "LEISUREDECK") or package name ("tbbase", ...), any case. The game is
  // appended to each section's GameID list unless already listed.
  std::vector<std::string> bases;
  std::optional<bool> popup;                  // listed under "unity_games" or removed
  std::optional<bool> no_base2005;            // listed under "no_base2005" or removed
  std::optional<bool> companion;              // listed in the "DEEPRUN" GameID list (adding only)
  std::optional<std::string> companion_file;  // "DEEPRUN" "file"
  std::optional<bool> companion_all;          // "DEEPRUN" "all" = 1 or 0
  // "GameSpec.<game>" keys.
  std::optional<std::string> shortcut_ie;  // "ShortCut_IE"
  std::optional<std::string> shortcut_url, shortcut_name, shortcut_desc, shortcut_icon;

  bool AnyEntry() const;
};

// Creates path (and its folder) when missing, then applies options. *changed
// tells whether the file's text changed.
bool UpdateCatalogue(const std::string& path, const CatalogueOptions& options, bool* changed,
                     std::string* error);

}  // namespace ld::tool
