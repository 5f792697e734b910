// Hosts of the identifier and token servers ("plum" servers) of the dev,
// alpha and real zones, and which one a refresh talks to. Compiled-in
// defaults come from the deployment settings; "ldstarter.ini" may override
// them in its [servers] section: "dev_plum", "alpha_plum" and "real_plum"
// ("host" or "host:port"; the port is the one of plain HTTP, 80 when none),
// and "plum_https_port" (the port of the token refresh's HTTPS request for
// every zone, 443 when missing), so tests can point both at loopback.
//
// Built once on the main thread at start-up; a plain value afterwards.
#pragma once

#include <string>

#include "core/settings/server_hosts.h"

namespace ld {

struct PlumHosts {
  std::string dev;
  std::string alpha;
  std::string real;
  int https_port = 443;

  // The compiled-in defaults.
  PlumHosts();

  // Defaults overridden by the usable [servers] keys `lookup` returns.
  static PlumHosts FromSettings(const SettingLookup& lookup);
};

// Where a refresh request goes: the host setting ("name" or "name:port") and
// the path, which has no leading "/".
struct PlumEndpoint {
  std::string host;
  std::string path;
};

// Identifier refresh by zone number: 1 dev "identifier/refresh.qrx", 2 dev
// "gstr/cocas/get.qrx", 3 alpha "identifier/refresh.qrx", 4 and 5 alpha
// "gstr/cocas/get.qrx", any other real "identifier/refresh.qrx".
PlumEndpoint IdentifierRefreshEndpoint(const PlumHosts& hosts, int zone_number);

// Token refresh by zone number: 1 dev, 3 alpha, any other real; the path is
// "identifier/vesper/refresh.qrx" in every zone.
PlumEndpoint TokenRefreshEndpoint(const PlumHosts& hosts, int zone_number);

// "?memberid=<member>&gameid=<GAME>&identifier=<identifier>": the game id in
// ASCII upper case, every value inserted as it is (the servers expect them
// unescaped).
std::string IdentifierRefreshQuery(const std::string& member_id, const std::string& game_id,
                                   const std::string& identifier);

}  // namespace ld
