// Decisions built on the catalogue: which packages a launch needs, in which
// order the installation driver fetches them, and which of them get their
// setup archives installed. Pure functions; the registry facts come in as
// arguments, gathered by the driver thread that calls these.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"

namespace ld {

// Kind 0 always; kind 1 unless the no-common-base flag is set; kinds 2 to 5
// when that kind's game list holds game_id (compared exactly).
bool IsPackageKindNeeded(const Catalogue& catalogue, const std::string& game_id, int kind);

struct PackagePlan {
  int kind = kPackageGame;
  std::string name;  // the game id for kind 0, the table's name otherwise
  bool is_game = false;
};

// The needed packages in the order the driver builds its list: kinds 0 to 5.
std::vector<PackagePlan> NeededPackages(const Catalogue& catalogue, const std::string& game_id);

// What the setup selection needs to know about the machine.
struct SetupFacts {
  // The game package's update list (the first package) has setup-install
  // directories.
  bool game_has_setup_dirs = false;
  // No install folder was known before this run.
  bool new_installation = false;
  // The game-key state of the install folder settings; 0 means the game's
  // registry key does not exist.
  int game_key_state = 0;
  // The registry value "base2005" of the install folder settings.
  int base2005_value = 0;
  // Whether a game counts as installed (its registry key, see
  // InstalledGameKey, opens). Unset means no game is installed.
  std::function<bool(const std::string& game_id)> is_game_installed;
};

// Marks, per package of packages (in list order), whether its setup-install
// list is installed; only name and is_game of each package are used.
// Nothing is marked when the list is empty or the game has no setup
// directories; everything on a new installation; on a known installation
// whose game key is missing, the game and each base package unless it is
// "base2005" with a nonzero registry value, its name is not a known package,
// or a game of its list is installed; otherwise nothing.
std::vector<bool> SelectSetupPackages(const Catalogue& catalogue,
                                      const std::vector<PackagePlan>& packages,
                                      const SetupFacts& facts);

// The registry key (under the current user) whose existence means game_id is
// installed: registry_path + "\" + game_id, e.g.
// "Software\Ludoria.Com\KOREAN\TABLA".
std::string InstalledGameKey(const std::string& registry_path, const std::string& game_id);

}  // namespace ld
