#include "starter/install/package_list.h"

#include "core/catalogue/catalogue_packages.h"
#include "starter/settings/install_folder_settings.h"
#include "starter/platform/registry.h"

namespace ld {

bool BuildPackageList(const Catalogue& catalogue, const std::string& game_id,
                      const ListFetchSettings& settings, std::vector<PackageDescriptor>* packages) {
  for (const PackagePlan& plan : NeededPackages(catalogue, game_id)) {
    PackageDescriptor package;
    package.is_game = plan.is_game;
    package.name = plan.name;
    packages->push_back(std::move(package));
    if (!FetchUpdateList(settings, &packages->back())) return false;
  }
  return true;
}

bool IsNewInstallation(const cInstallFolderSettings& settings) {
  // The folder-missing flag, not an empty root: a recorded "Home" whose
  // folder has since gone is a new installation too, and every package must
  // come again.
  return settings.folder_missing();
}

int SelectSetupPackages(const Catalogue& catalogue, const cInstallFolderSettings& settings,
                        bool new_installation, std::vector<PackageDescriptor>* packages) {
  std::vector<PackagePlan> plans;
  plans.reserve(packages->size());
  for (const PackageDescriptor& package : *packages) {
    PackagePlan plan;
    plan.name = package.name;
    plan.is_game = package.is_game;
    plans.push_back(plan);
  }

  SetupFacts facts;
  facts.game_has_setup_dirs =
      !packages->empty() && packages->front().update_list.SetupInstallDirCount() > 0;
  facts.new_installation = new_installation;
  facts.game_key_state = static_cast<int>(settings.game_key_state());
  facts.base2005_value = static_cast<int>(settings.base_package_counter());
  const std::string registry_path = settings.registry_key();
  facts.is_game_installed = [&registry_path](const std::string& game_id) {
    return UserKeyExists(InstalledGameKey(registry_path, game_id)) == ERROR_SUCCESS;
  };

  const std::vector<bool> marks = SelectSetupPackages(catalogue, plans, facts);
  int marked = 0;
  for (std::size_t i = 0; i < packages->size() && i < marks.size(); ++i) {
    (*packages)[i].setup_selected = marks[i];
    if (marks[i]) ++marked;
  }
  return marked;
}

}  // namespace ld
