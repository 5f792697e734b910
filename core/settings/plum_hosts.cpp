#include "core/settings/plum_hosts.h"

#include "core/settings/deployment_defaults.h"
#include "core/settings/server_hosts.h"

namespace ld {
namespace {

constexpr char kIdentifierPath[] = "identifier/refresh.qrx";
constexpr char kCocasPath[] = "gstr/cocas/get.qrx";
constexpr char kTokenPath[] = "identifier/vesper/refresh.qrx";

void Override(const SettingLookup& lookup, const char* key, std::string* host) {
  const std::string clean = NormaliseHostSetting(lookup(key));
  if (!clean.empty()) *host = clean;
}

}  // namespace

PlumHosts::PlumHosts()
    : dev(deployment::kDevPlumHost),
      alpha(deployment::kAlphaPlumHost),
      real(deployment::kRealPlumHost) {}

PlumHosts PlumHosts::FromSettings(const SettingLookup& lookup) {
  PlumHosts hosts;
  if (!lookup) return hosts;
  Override(lookup, "dev_plum", &hosts.dev);
  Override(lookup, "alpha_plum", &hosts.alpha);
  Override(lookup, "real_plum", &hosts.real);
  // The port reads like a host's ":port", so the same checks apply.
  std::string name;
  int port = 0;
  SplitHostPort("x:" + lookup("plum_https_port"), &name, &port);
  if (port != 0) hosts.https_port = port;
  return hosts;
}

PlumEndpoint IdentifierRefreshEndpoint(const PlumHosts& hosts, int zone_number) {
  switch (zone_number) {
    case 1:
      return {hosts.dev, kIdentifierPath};
    case 2:
      return {hosts.dev, kCocasPath};
    case 3:
      return {hosts.alpha, kIdentifierPath};
    case 4:
    case 5:
      return {hosts.alpha, kCocasPath};
    default:
      return {hosts.real, kIdentifierPath};
  }
}

PlumEndpoint TokenRefreshEndpoint(const PlumHosts& hosts, int zone_number) {
  if (zone_number == 1) return {hosts.dev, kTokenPath};
  if (zone_number == 3) return {hosts.alpha, kTokenPath};
  return {hosts.real, kTokenPath};
}

std::string IdentifierRefreshQuery(const std::string& member_id, const std::string& game_id,
                                   const std::string& identifier) {
  std::string upper = game_id;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return "?memberid=" + member_id + "&gameid=" + upper + "&identifier=" + identifier;
}

}  // namespace ld
