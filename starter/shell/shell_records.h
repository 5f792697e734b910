// The starter's records in the shell's registry areas (current user only):
// the uninstall entry and the browser elevation policy that lets the portal's
// pages start the starter without a prompt. Any thread; no state.
#pragma once

#include <string>

namespace ld {

inline constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ludoria.com";
inline constexpr char kUninstallerName[] = "LudUninstall.exe";
inline constexpr char kElevationPolicyKey[] =
    "SOFTWARE\\Microsoft\\Internet Explorer\\Low Rights\\ElevationPolicy";
// The starter's application identifier, the policy's subkey.
inline constexpr char kStarterAppId[] = "{3C1F7A52-9E64-4B0D-A2C8-5D17E0B94F36}";

// Writes "DisplayName", "DisplayIcon" and "UninstallString" (both
// "<language folder>\LudUninstall.exe") and "Publisher". The first failure
// shows the error box 0x0013000E and gives false.
bool WriteUninstallEntry(const std::string& language_folder);

// Writes "AppName" = "ldstarter.exe", "AppPath" = `starter_data_folder`,
// "Policy" = 3 (silent start at medium integrity). False on any failure,
// nothing shown.
bool WriteElevationPolicy(const std::string& starter_data_folder);

// The same for the starter data folder (created, hidden, when missing).
bool WriteElevationPolicy();

}  // namespace ld
