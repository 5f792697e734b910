#include "core/settings/server_endpoints.h"

namespace ld {

std::string StarterDistributionRoot(const ServerHosts& hosts, char zone) {
  switch (zone) {
    case '1':
      return hosts.Base(HostKind::kDevDownload) + "/ld2005/dist";
    case '2':
      return hosts.Base(HostKind::kDevDownload) + "/pica/dist";
    case '3':
      return hosts.Base(HostKind::kAlphaDownload) + "/ld2005/dist";
    case '4':
      return hosts.Base(HostKind::kAlphaDownload) + "/pica/dist";
    case '5':
      return hosts.Base(HostKind::kOutsideDownload) + "/ld2005/dist";
    default:
      return hosts.Base(HostKind::kRealDownload) + "/dist";
  }
}

std::string StarterFileAddress(const std::string& distribution_root, const std::string& file_name) {
  return distribution_root + "/" + kStarterFolder + "/" + file_name;
}

std::string GameDownloadRoot(const ServerHosts& hosts, int zone_number) {
  switch (zone_number) {
    case 1:
      return hosts.Base(HostKind::kDevDownload) + "/ld2005";
    case 3:
      return hosts.Base(HostKind::kAlphaDownload) + "/ld2005";
    default:
      return hosts.Base(HostKind::kRealDownload);
  }
}

std::string GameDownloadRoot(const ServerHosts& hosts, int zone_number, const std::string& word) {
  return GameDownloadRoot(hosts, zone_number) + "/" + word;
}

HostKind LauncherHostKind(int zone_number) {
  switch (zone_number) {
    case 1:
    case 2:
      return HostKind::kDevGame;
    case 4:
    case 5:
      return HostKind::kAlphaGame;
    default:
      return HostKind::kRealGame;
  }
}

std::string LauncherPageAddress(const ServerHosts& hosts, int zone_number,
                                const std::string& game_id, int age_class, bool left) {
  std::string address = hosts.Base(LauncherHostKind(zone_number));
  address += "/launcher.qrx?gameid=";
  address += game_id;
  address += "&adtype=y&type=";
  address += left ? "left" : "right";
  address += "&m=ludstart";
  if (age_class == 1) address += "&adult=y";
  if (age_class == 2) address += "&adult=n";
  if (left) address += "&kind=LD";
  return address;
}

std::string PortalHomeAddress(const ServerHosts& hosts) { return hosts.Base(HostKind::kPortal); }

}  // namespace ld
