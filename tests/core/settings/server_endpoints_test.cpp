#include "core/settings/server_endpoints.h"

#include <gtest/gtest.h>

#include "core/launch/zone.h"
#include "core/profile/profile_file.h"
#include "core/settings/deployment_defaults.h"
#include "core/settings/plum_hosts.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

TEST(ServerHostsTest, SettingsOverrideOnlyTheirKindAndAreCleanedOrRefused) {
  ServerHosts hosts = ServerHosts::FromProfile(
      test::Parsed("[check]\nreal_download=x\n[Servers]\nREAL_DOWNLOAD = 127.0.0.1:8081\n"
                   "portal=http://portal.example/\ndev_game=\nalpha_game=bad/path\n"));
  EXPECT_EQ(hosts.Base(HostKind::kRealDownload), "http://127.0.0.1:8081");
  EXPECT_EQ(hosts.Host(HostKind::kPortal), "portal.example");
  EXPECT_EQ(hosts.Host(HostKind::kDevGame), deployment::kDevGameHost);
  EXPECT_EQ(hosts.Host(HostKind::kAlphaGame), deployment::kAlphaGameHost);

  for (const char* refused : {"   ", "http://", "https://d.ex", "d.ex/dist", "d ex", "u@d.ex",
                              "d.ex?x", "d.ex#x", "d\\ex"}) {
    EXPECT_EQ(NormaliseHostSetting(refused), "") << refused;
    EXPECT_FALSE(hosts.Set(HostKind::kAlphaGame, refused)) << refused;
  }
  EXPECT_EQ(hosts.Host(HostKind::kAlphaGame), deployment::kAlphaGameHost);  // the default stays
  for (auto [setting, host] : {std::pair{"  1.2.3.4:80\t", "1.2.3.4:80"},
                               {"HTTP://d.ex//", "d.ex"},
                               {"[::1]:80", "[::1]:80"}}) {
    EXPECT_TRUE(hosts.Set(HostKind::kAlphaGame, setting));
    EXPECT_EQ(hosts.Host(HostKind::kAlphaGame), host);
  }

  // A port is 1..65535 in at most five digits; otherwise the colon belongs to the name.
  std::string name;
  int port = -1;
  for (const char* host : {"log.example", "h:65536", "h:000080", "h:0", "h:", "h:8o"}) {
    SplitHostPort(host, &name, &port);
    EXPECT_EQ(name + ":" + std::to_string(port), host + std::string(":0"));
  }
  SplitHostPort("h:65535", &name, &port);
  EXPECT_EQ(name + ":" + std::to_string(port), "h:65535");
  SplitHostPort("10.0.0.1:8080", &name, &port);
  EXPECT_EQ(name + ":" + std::to_string(port), "10.0.0.1:8080");
}

// Distinct hosts per kind so a swapped kind shows in the address.
const ServerHosts kHosts = ServerHosts::FromSettings(test::MapLookup({{"dev_download", "dd"},
                                                                      {"alpha_download", "ad"},
                                                                      {"outside_download", "od"},
                                                                      {"real_download", "rd:8080"},
                                                                      {"dev_game", "dg"},
                                                                      {"alpha_game", "ag"},
                                                                      {"real_game", "rg"},
                                                                      {"portal", "www"}}));

TEST(ServerEndpointsTest, RootsByZone) {
  const std::string kStarter[] = {"http://rd:8080/dist", "http://dd/ld2005/dist",
                                  "http://dd/pica/dist", "http://ad/ld2005/dist",
                                  "http://ad/pica/dist", "http://od/ld2005/dist",
                                  "http://rd:8080/dist"};
  for (char zone = '0'; zone <= '6'; ++zone)
    EXPECT_EQ(StarterDistributionRoot(kHosts, zone), kStarter[zone - '0']) << zone;
  EXPECT_EQ(StarterDistributionRoot(kHosts, kNoZone), "http://rd:8080/dist");
  EXPECT_EQ(StarterFileAddress("http://ad/pica/dist", "v.dat"),
            "http://ad/pica/dist/ldstart/v.dat");

  const char* const kGameRoots[] = {"http://rd:8080",   "http://dd/ld2005", "http://rd:8080",
                                    "http://ad/ld2005", "http://rd:8080",   "http://rd:8080",
                                    "http://rd:8080"};
  for (int number = 0; number <= 6; ++number) {
    EXPECT_EQ(GameDownloadRoot(kHosts, number), kGameRoots[number]) << number;
    EXPECT_EQ(GameDownloadRoot(kHosts, number, "hul"), std::string(kGameRoots[number]) + "/hul");
  }
  EXPECT_EQ(GameDownloadRoot(kHosts, -1, "hul"), "http://rd:8080/hul");
  EXPECT_EQ(PortalHomeAddress(kHosts), "http://www");
}

TEST(ServerEndpointsTest, LauncherPageAddress) {
  // zone number, age class, left? -> the address after "/launcher.qrx?gameid=g1&adtype=y&type="
  const std::string cases[][2] = {
      {"0 0 1", "http://rg left&m=ludstart&kind=LD"},
      {"1 1 1", "http://dg left&m=ludstart&adult=y&kind=LD"},
      {"2 2 0", "http://dg right&m=ludstart&adult=n"},
      {"4 2 1", "http://ag left&m=ludstart&adult=n&kind=LD"},
      {"5 3 0", "http://ag right&m=ludstart"},
  };
  for (const auto& c : cases) {
    const std::string address =
        LauncherPageAddress(kHosts, c[0][0] - '0', "g1", c[0][2] - '0', c[0][4] == '1');
    const std::string head = c[1].substr(0, c[1].find(' '));
    EXPECT_EQ(address,
              head + "/launcher.qrx?gameid=g1&adtype=y&type=" + c[1].substr(head.size() + 1));
  }
}

TEST(PlumHosts, EndpointsByZoneAndSettings) {
  const PlumHosts hosts =
      PlumHosts::FromSettings(test::MapLookup({{"dev_plum", "http://127.0.0.1:8080/"},
                                               {"alpha_plum", "alpha"},
                                               {"real_plum", "bad host"},
                                               {"plum_https_port", "8443"}}));
  // The port, then per zone: identifier host and path, token host ("-" the real service).
  std::string got = std::to_string(hosts.https_port) + " ";
  for (int zone : {1, 2, 3, 4, 5, 0}) {
    const PlumEndpoint id = IdentifierRefreshEndpoint(hosts, zone);
    const PlumEndpoint token = TokenRefreshEndpoint(hosts, zone);
    EXPECT_EQ(token.path, "identifier/vesper/refresh.qrx");
    for (const std::string& host : {id.host, id.path, token.host})
      got += (host == PlumHosts().real ? "-" : host) + " ";
    got += "| ";
  }
  EXPECT_EQ(
      got,
      "8443 127.0.0.1:8080 identifier/refresh.qrx 127.0.0.1:8080 | "
      "127.0.0.1:8080 gstr/cocas/get.qrx - | alpha identifier/refresh.qrx alpha | "
      "alpha gstr/cocas/get.qrx - | alpha gstr/cocas/get.qrx - | - identifier/refresh.qrx - | ");
  EXPECT_EQ(PlumHosts::FromSettings(test::MapLookup({{"plum_https_port", "70000"}})).https_port,
            443);
  EXPECT_EQ(IdentifierRefreshQuery("m@x", "tabla9", "a&b"),
            "?memberid=m@x&gameid=TABLA9&identifier=a&b");
}

}  // namespace
}  // namespace ld
