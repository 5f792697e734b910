// The runtime libraries the games were built against: the versions the
// support reports show, and the private copies a game folder carries in its
// "Sysfiles" folder, put beside the game when they are newer than the
// system's. Installation driver thread; failures are silent.
#pragma once

#include <string>

#include "starter/app/starter_app.h"

namespace ld {

inline constexpr const char* kSystemRuntimeNames[3] = {"Mfc42.dll", "Msvcrt.dll", "Msvcp60.dll"};
inline constexpr const char* kPrivateRuntimeNames[3] = {"MFC71.dll", "msvcp71.dll", "msvcr71.dll"};

// Fills the file versions of the record (system folder, loader's choice,
// the game's "Sysfiles" folder below `install_folder`).
void ReadRuntimeLibraryVersions(const std::string& install_folder,
                                RuntimeLibraryVersions* versions);

// For each private library in order: when "<install>\Sysfiles\<name>" is
// newer than the system folder's copy, it is copied over "<install>\<name>";
// otherwise any "<install>\<name>" is deleted, so the system's copy is used.
void InstallPrivateRuntimeLibraries(const std::string& install_folder,
                                    RuntimeLibraryVersions* versions);

// a newer than b: higher most significant half, or equal and higher least
// significant half.
bool IsNewerVersion(const FileVersion& a, const FileVersion& b);

}  // namespace ld
