#include "core/settings/server_endpoints.h"

#include <string>

#include <gtest/gtest.h>

#include "core/settings/deployment_defaults.h"
#include "core/profile/profile_file.h"
#include "core/launch/zone.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

using test::MapLookup;

// Distinct hosts per kind so a swapped kind shows in the address.
ServerHosts TestHosts() {
  return ServerHosts::FromSettings(MapLookup({
      {"dev_download", "dd"},
      {"alpha_download", "ad"},
      {"outside_download", "od"},
      {"real_download", "rd:8080"},
      {"dev_game", "dg"},
      {"alpha_game", "ag"},
      {"real_game", "rg"},
      {"portal", "www"},
  }));
}

TEST(ServerHostsTest, DefaultsComeFromTheDeploymentSettings) {
  const ServerHosts hosts = ServerHosts::FromSettings(SettingLookup());
  EXPECT_EQ(hosts.Host(HostKind::kPortal), deployment::kPortalHost);
  EXPECT_EQ(hosts.Base(HostKind::kDevGame), std::string("http://") + deployment::kDevGameHost);
  EXPECT_STREQ(ServerHosts::SettingKey(HostKind::kOutsideDownload), "outside_download");
}

TEST(ServerHostsTest, SettingsOverrideOnlyTheirKind) {
  const ServerHosts hosts =
      ServerHosts::FromSettings(MapLookup({{"real_download", "127.0.0.1:8080"}}));
  EXPECT_EQ(hosts.Base(HostKind::kRealDownload), "http://127.0.0.1:8080");
  EXPECT_EQ(hosts.Host(HostKind::kDevDownload), deployment::kDevDownloadHost);
  EXPECT_EQ(hosts.Host(HostKind::kRealGame), deployment::kRealGameHost);
}

TEST(ServerHostsTest, ReadsTheServersSectionOfTheOptionsFile) {
  ProfileFile options;
  options.Parse(
      "[check]\r\nreal_download=wrong.example\r\n"
      "[Servers]\r\nREAL_DOWNLOAD = 127.0.0.1:8081\r\nportal=http://portal.example/\r\n"
      "dev_game=\r\nalpha_game=bad/path\r\n");
  const ServerHosts hosts = ServerHosts::FromProfile(options);
  EXPECT_EQ(hosts.Host(HostKind::kRealDownload), "127.0.0.1:8081");
  EXPECT_EQ(hosts.Host(HostKind::kPortal), "portal.example");
  EXPECT_EQ(hosts.Host(HostKind::kDevGame), deployment::kDevGameHost);
  EXPECT_EQ(hosts.Host(HostKind::kAlphaGame), deployment::kAlphaGameHost);
  EXPECT_EQ(hosts.Host(HostKind::kRealGame), deployment::kRealGameHost);
}

TEST(ServerHostsTest, HostSettingsAreCleanedOrRefused) {
  const struct {
    const char* setting;
    const char* host;  // "" = refused, the default stays
  } kCases[] = {
      {"down.example.com", "down.example.com"},
      {"  127.0.0.1:8080\t", "127.0.0.1:8080"},
      {"http://down.example.com/", "down.example.com"},
      {"HTTP://down.example.com//", "down.example.com"},
      {"[::1]:8080", "[::1]:8080"},
      {"", ""},
      {"   ", ""},
      {"http://", ""},
      {"https://down.example.com", ""},
      {"down.example.com/dist", ""},
      {"down example.com", ""},
      {"user@down.example.com", ""},
      {"down.example.com?x", ""},
      {"down.example.com#x", ""},
      {"down\\example", ""},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(NormaliseHostSetting(c.setting), c.host) << c.setting;
    ServerHosts hosts;
    EXPECT_EQ(hosts.Set(HostKind::kAlphaGame, c.setting), *c.host != '\0') << c.setting;
    EXPECT_EQ(hosts.Host(HostKind::kAlphaGame), *c.host ? c.host : deployment::kAlphaGameHost);
  }
}

TEST(ServerEndpointsTest, StarterDistributionRootByZone) {
  const ServerHosts hosts = TestHosts();
  const struct {
    char zone;
    const char* root;
  } kCases[] = {
      {'1', "http://dd/ld2005/dist"}, {'2', "http://dd/pica/dist"},
      {'3', "http://ad/ld2005/dist"}, {'4', "http://ad/pica/dist"},
      {'5', "http://od/ld2005/dist"}, {kNoZone, "http://rd:8080/dist"},
      {'0', "http://rd:8080/dist"},   {'6', "http://rd:8080/dist"},
  };
  for (const auto& c : kCases) EXPECT_EQ(StarterDistributionRoot(hosts, c.zone), c.root) << c.zone;
  EXPECT_EQ(StarterFileAddress("http://ad/pica/dist", "ldstarter_verinfo.dat"),
            "http://ad/pica/dist/ldstart/ldstarter_verinfo.dat");
}

TEST(ServerEndpointsTest, GameDownloadRootByZoneNumber) {
  const ServerHosts hosts = TestHosts();
  const char* const kRoots[] = {"http://rd:8080",   "http://dd/ld2005", "http://rd:8080",
                                "http://ad/ld2005", "http://rd:8080",   "http://rd:8080",
                                "http://rd:8080" /*6*/};
  for (int number = 0; number <= 6; ++number) {
    EXPECT_EQ(GameDownloadRoot(hosts, number), kRoots[number]) << number;
    EXPECT_EQ(GameDownloadRoot(hosts, number, "dist"), std::string(kRoots[number]) + "/dist");
    EXPECT_EQ(GameDownloadRoot(hosts, number, "hul"), std::string(kRoots[number]) + "/hul");
  }
  EXPECT_EQ(GameDownloadRoot(hosts, -1, "hul"), "http://rd:8080/hul");
}

TEST(ServerEndpointsTest, LauncherPageAddress) {
  const ServerHosts hosts = TestHosts();
  const struct {
    int zone_number;
    int age_class;
    bool left;
    const char* address;
  } kCases[] = {
      {0, 0, true, "http://rg/launcher.qrx?gameid=g1&adtype=y&type=left&m=ludstart&kind=LD"},
      {0, 0, false, "http://rg/launcher.qrx?gameid=g1&adtype=y&type=right&m=ludstart"},
      {1, 1, true,
       "http://dg/launcher.qrx?gameid=g1&adtype=y&type=left&m=ludstart&adult=y&kind=LD"},
      {2, 2, false, "http://dg/launcher.qrx?gameid=g1&adtype=y&type=right&m=ludstart&adult=n"},
      {3, 1, false, "http://rg/launcher.qrx?gameid=g1&adtype=y&type=right&m=ludstart&adult=y"},
      {4, 2, true,
       "http://ag/launcher.qrx?gameid=g1&adtype=y&type=left&m=ludstart&adult=n&kind=LD"},
      {5, 3, false, "http://ag/launcher.qrx?gameid=g1&adtype=y&type=right&m=ludstart"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(LauncherPageAddress(hosts, c.zone_number, "g1", c.age_class, c.left), c.address);
  }
  EXPECT_EQ(PortalHomeAddress(hosts), "http://www");
}

}  // namespace
}  // namespace ld
