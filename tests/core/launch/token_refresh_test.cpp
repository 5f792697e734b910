#include "core/launch/token_refresh.h"

#include <gtest/gtest.h>

#include <string>

#include "core/settings/plum_hosts.h"

namespace ld {
namespace {

TEST(TokenRefresh, BodyEscapingAndLimits) {
  std::string body;
  ASSERT_TRUE(TokenRefreshBody("bWVt", "Z2Ft", "a b/+=~\xB0", "w=1&x", &body));
  EXPECT_EQ(body, "memberno=bWVt&gameid=Z2Ft&accesstoken=a+b%2F%2B%3D%7E%B0&webidentifier=w=1&x");
  // Refused rather than cut.
  std::string escaped = "kept";
  EXPECT_TRUE(EscapeAccessToken(std::string(170, '/'), &escaped));  // 510 bytes
  EXPECT_FALSE(EscapeAccessToken(std::string(171, '/'), &escaped));
  EXPECT_EQ(escaped.size(), 510u);
  EXPECT_FALSE(TokenRefreshBody(std::string(2000, 'm'), "g", "t", "w", &body));
  EXPECT_EQ(TokenRefreshHeaders(12),
            "Accept: text/*\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0;* Windows NT)\r\n"
            "Content-type: application/x-www-form-urlencoded\r\nContent-length: 12\r\n\n");
}

TEST(TokenRefresh, FirstEmptyValueNamed) {
  EXPECT_EQ(TokenRefreshCheck("", "", "", ""), "GameId is NullOrEmpty");
  EXPECT_EQ(TokenRefreshCheck("", "g", "", ""), "MemberNo is NullOrEmpty");
  EXPECT_EQ(TokenRefreshCheck("m", "g", "", ""), "KRT AccessToken is NullOrEmpty");
  EXPECT_EQ(TokenRefreshCheck("m", "g", "t", ""), "Web Cookie is NullOrEmpty");
  EXPECT_EQ(TokenRefreshCheck("m", "g", "t", "w"), "");
}

TEST(TokenRefresh, AnswerRewritesTheLaunchString) {
  TokenAnswer a;
  EXPECT_FALSE(ParseTokenAnswer("not json", &a));
  EXPECT_FALSE(ParseTokenAnswer("[1,2]", &a));
  ASSERT_TRUE(
      ParseTokenAnswer("// renewed\n{\"accesstoken\":\"T2\",\"webidentifier\":\"W2\"}", &a));
  LaunchRecord r;
  r.first_gamestring = "ludoria://P=&P0=bQ&P4=T1&P1=Zw";
  ApplyTokenAnswer(a, &r);
  EXPECT_EQ(r.first_gamestring, "ludoria://P=&P8=W2&P0=bQ&P4=T2&P1=Zw");
  EXPECT_EQ(r.second_gamestring, r.first_gamestring);
  // A missing member (or one that is not text) empties its pair.
  ASSERT_TRUE(ParseTokenAnswer("{\"accesstoken\":\"T3\",\"webidentifier\":7}", &a));
  ApplyTokenAnswer(a, &r);
  EXPECT_EQ(r.first_gamestring, "ludoria://P=&P8=&P0=bQ&P4=T3&P1=Zw");
}

TEST(PlumHosts, EndpointsByZoneAndSettings) {
  PlumHosts hosts = PlumHosts::FromSettings([](const std::string& key) -> std::string {
    if (key == "dev_plum") return "http://127.0.0.1:8080/";
    if (key == "alpha_plum") return "alpha";
    if (key == "real_plum") return "bad host";
    if (key == "plum_https_port") return "8443";
    return "";
  });
  EXPECT_EQ(hosts.https_port, 8443);
  EXPECT_EQ(hosts.real, PlumHosts().real);
  const struct {
    int zone;
    const char* host;
    const char* path;
    const char* token_host;
  } cases[] = {
      {1, "127.0.0.1:8080", "identifier/refresh.qrx", "127.0.0.1:8080"},
      {2, "127.0.0.1:8080", "gstr/cocas/get.qrx", nullptr},
      {3, "alpha", "identifier/refresh.qrx", "alpha"},
      {4, "alpha", "gstr/cocas/get.qrx", nullptr},
      {5, "alpha", "gstr/cocas/get.qrx", nullptr},
      {0, nullptr, "identifier/refresh.qrx", nullptr},
  };
  for (const auto& c : cases) {
    PlumEndpoint id = IdentifierRefreshEndpoint(hosts, c.zone);
    EXPECT_EQ(id.host, c.host ? c.host : hosts.real) << c.zone;
    EXPECT_EQ(id.path, c.path) << c.zone;
    PlumEndpoint token = TokenRefreshEndpoint(hosts, c.zone);
    EXPECT_EQ(token.host, c.token_host ? c.token_host : hosts.real) << c.zone;
    EXPECT_EQ(token.path, "identifier/vesper/refresh.qrx");
  }
  EXPECT_EQ(PlumHosts::FromSettings([](const std::string& k) {
              return std::string(k == "plum_https_port" ? "70000" : "");
            }).https_port,
            443);
  EXPECT_EQ(IdentifierRefreshQuery("m@x", "tabla9", "a&b"),
            "?memberid=m@x&gameid=TABLA9&identifier=a&b");
}

}  // namespace
}  // namespace ld
