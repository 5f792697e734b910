#include "core/launch/token_refresh.h"

#include <gtest/gtest.h>

#include <string>

#include "core/settings/plum_hosts.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

TEST(TokenRefresh, BodyChecksAndAnswer) {
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
  // The first empty value is named.
  EXPECT_EQ(TokenRefreshCheck("", "", "", "") + "|" + TokenRefreshCheck("", "g", "", "") + "|" +
                TokenRefreshCheck("m", "g", "", "") + "|" + TokenRefreshCheck("m", "g", "t", "") +
                "|" + TokenRefreshCheck("m", "g", "t", "w"),
            "GameId is NullOrEmpty|MemberNo is NullOrEmpty|KRT AccessToken is NullOrEmpty|"
            "Web Cookie is NullOrEmpty|");

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
  const std::map<std::string, std::string> settings = {{"dev_plum", "http://127.0.0.1:8080/"},
                                                       {"alpha_plum", "alpha"},
                                                       {"real_plum", "bad host"},
                                                       {"plum_https_port", "8443"}};
  PlumHosts hosts = PlumHosts::FromSettings(test::MapLookup(settings));
  EXPECT_EQ(hosts.https_port, 8443);
  // Per zone: identifier host and path, token host ("-" the real service).
  std::string got;
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
      "127.0.0.1:8080 identifier/refresh.qrx 127.0.0.1:8080 | "
      "127.0.0.1:8080 gstr/cocas/get.qrx - | alpha identifier/refresh.qrx alpha | "
      "alpha gstr/cocas/get.qrx - | alpha gstr/cocas/get.qrx - | - identifier/refresh.qrx - | ");
  EXPECT_EQ(PlumHosts::FromSettings(test::MapLookup({{"plum_https_port", "70000"}})).https_port,
            443);
  EXPECT_EQ(IdentifierRefreshQuery("m@x", "tabla9", "a&b"),
            "?memberid=m@x&gameid=TABLA9&identifier=a&b");
}

}  // namespace
}  // namespace ld
