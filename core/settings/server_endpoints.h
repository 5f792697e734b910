// Addresses of the servers a run talks to, chosen by zone. Hosts come from
// ServerHosts (deployment defaults, possibly overridden by "ldstarter.ini");
// the paths are fixed by the servers' layout. Every result is a complete
// "http://host[:port]/path" address without a trailing slash. Pure functions
// over a ServerHosts the caller owns; any thread.
#pragma once

#include <string>

#include "core/settings/server_hosts.h"

namespace ld {

inline constexpr char kStarterFolder[] = "ldstart";

// Root of the starter's own published files (version information file and
// program), by zone value:
//   '1' dev + "/ld2005/dist"    '2' dev + "/pica/dist"
//   '3' alpha + "/ld2005/dist"  '4' alpha + "/pica/dist"
//   '5' outside + "/ld2005/dist"  anything else real + "/dist".
std::string StarterDistributionRoot(const ServerHosts& hosts, char zone);

// Address of one published starter file: root + "/ldstart/" + file_name.
std::string StarterFileAddress(const std::string& distribution_root, const std::string& file_name);

// Game download root by zone number: 1 dev + "/ld2005", 3 alpha + "/ld2005",
// anything else the real download host itself. Without a trailing "/".
std::string GameDownloadRoot(const ServerHosts& hosts, int zone_number);

// GameDownloadRoot + "/" + word, where word is "dist" (catalogue and zipped
// files) or "hul" (update lists).
std::string GameDownloadRoot(const ServerHosts& hosts, int zone_number, const std::string& word);

// Game host of the launcher pages: zone number 1 or 2 development, 4 or 5
// alpha, anything else real.
HostKind LauncherHostKind(int zone_number);

// Address of a launcher page shown in the installation window's web panels:
//   game host + "/launcher.qrx?gameid=<id>&adtype=y&type=<left|right>&m=ludstart"
// then "&adult=y" for age class 1, "&adult=n" for 2, then "&kind=LD" for the
// left panel. The game id is inserted as it is (launch-string values are
// never re-encoded).
std::string LauncherPageAddress(const ServerHosts& hosts, int zone_number,
                                const std::string& game_id, int age_class, bool left);

// The portal's home page, the same for every zone.
std::string PortalHomeAddress(const ServerHosts& hosts);

}  // namespace ld
