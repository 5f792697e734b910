#include "core/catalogue/catalogue_packages.h"

#include <algorithm>

namespace ld {

bool IsPackageKindNeeded(const Catalogue& catalogue, const std::string& game_id, int kind) {
  if (kind == kPackageGame) return true;
  if (kind == kPackageBase2005) return !catalogue.no_base2005;
  if (kind < kFirstListedBaseKind || kind >= kPackageKindCount) return false;
  const auto& games = catalogue.base_games[kind];
  return std::find(games.begin(), games.end(), game_id) != games.end();
}

std::vector<PackagePlan> NeededPackages(const Catalogue& catalogue, const std::string& game_id) {
  std::vector<PackagePlan> plans;
  for (int kind = kPackageGame; kind < kPackageKindCount; ++kind) {
    if (!IsPackageKindNeeded(catalogue, game_id, kind)) continue;
    PackagePlan plan;
    plan.kind = kind;
    plan.is_game = kind == kPackageGame;
    plan.name = plan.is_game ? game_id : PackageNameOfKind(kind);
    plans.push_back(plan);
  }
  return plans;
}

namespace {
bool AnyListedGameInstalled(const Catalogue& catalogue, int kind, const SetupFacts& facts) {
  if (!facts.is_game_installed) return false;
  for (const std::string& game : catalogue.base_games[kind]) {
    if (facts.is_game_installed(game)) return true;
  }
  return false;
}
}  // namespace

std::vector<bool> SelectSetupPackages(const Catalogue& catalogue,
                                      const std::vector<PackagePlan>& packages,
                                      const SetupFacts& facts) {
  std::vector<bool> marks(packages.size(), false);
  if (packages.empty() || !facts.game_has_setup_dirs) return marks;
  if (facts.new_installation) {
    std::fill(marks.begin(), marks.end(), true);
    return marks;
  }
  if (facts.game_key_state != 0) return marks;
  for (std::size_t i = 0; i < packages.size(); ++i) {
    const PackagePlan& p = packages[i];
    if (p.is_game) {
      marks[i] = true;
      continue;
    }
    int kind = PackageKindOfName(p.name);
    if (kind < 0) continue;
    if (kind == kPackageBase2005 && facts.base2005_value != 0) continue;
    if (AnyListedGameInstalled(catalogue, kind, facts)) continue;
    marks[i] = true;
  }
  return marks;
}

std::string InstalledGameKey(const std::string& registry_path, const std::string& game_id) {
  return registry_path + "\\" + game_id;
}

}  // namespace ld
