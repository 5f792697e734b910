// The order in which the packages of a launch are installed. The game's own
// package comes first in the package list, and its files may rely on those
// of the base packages, so the bases go first and the game last.
//
// Pure; the installation driver thread calls it.
#pragma once

#include <cstddef>
#include <vector>

namespace ld {

// Indexes 1, 2, ..., package_count - 1, then 0; empty for no package.
std::vector<std::size_t> InstallOrder(std::size_t package_count);

}  // namespace ld
