// The six package kinds the starter knows and their fixed names: the
// launched game's own package (kind 0), the common base "base2005" (kind 1)
// and four shared base packages, each tied to a catalogue section that lists
// the games using it. Pure data; any thread.
#pragma once

#include <string>

namespace ld {

enum PackageKind : int {
  kPackageGame = 0,
  kPackageBase2005 = 1,
  kPackageTabla = 2,
  kPackageTablaDx = 3,
  kPackageFloraEx = 4,
  kPackageLeisureDeck = 5,
};
inline constexpr int kPackageKindCount = 6;
// Kinds 2 to 5 have a catalogue section of games.
inline constexpr int kFirstListedBaseKind = kPackageTabla;

// "base2005", "tbbase", "tbbaseex", "flbaseex", "lsbase" for kinds 1 to 5;
// "" for kind 0 (its name is the launched game id) and for unknown kinds.
const char* PackageNameOfKind(int kind);

// The catalogue section listing the games of a base package: "TABLA",
// "TABLA_DX", "FLORAEX", "LEISUREDECK" for kinds 2 to 5; "" otherwise.
const char* BaseSectionOfKind(int kind);

// The kind (1 to 5) whose package name equals name without regard to case
// (ASCII); -1 for any other name, including every game id.
int PackageKindOfName(const std::string& name);

}  // namespace ld
