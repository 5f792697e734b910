// The packages a launch needs, each with its fetched update list, and the
// choice of the packages whose setup archives are installed.
//
// Threads: the installation driver thread, after the catalogue is loaded and
// before any file of a package is checked. Fetch failures are told to the
// user by the fetch itself (update_list_fetch.h).
#pragma once

#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/install/package_descriptor.h"
#include "starter/install/update_list_fetch.h"

namespace ld {

class cInstallFolderSettings;

// Appends one descriptor per needed package (the game, "base2005" unless the
// game needs no common base, then the base packages whose catalogue lists
// name the game) and fetches each one's update list in that order. The first
// failed fetch ends the build with false; the descriptor that failed stays
// in the list.
bool BuildPackageList(const Catalogue& catalogue, const std::string& game_id,
                      const ListFetchSettings& settings, std::vector<PackageDescriptor>* packages);

// True when no install folder was known before this run: nothing was read
// from the registry record, or the recorded folder no longer exists.
bool IsNewInstallation(const cInstallFolderSettings& settings);

// Sets setup_selected on the packages whose setup-install lists are
// installed and returns how many. Nothing is marked when the list is empty
// or the game's list has no setup-install directories; every package on a
// new installation; when the game's registry key is missing, the game and
// each base package unless it is "base2005" with a nonzero "base2005" value,
// or a game of its catalogue list is installed (its key under the portal's
// registry path opens); otherwise nothing.
int SelectSetupPackages(const Catalogue& catalogue, const cInstallFolderSettings& settings,
                        bool new_installation, std::vector<PackageDescriptor>* packages);

}  // namespace ld
