#include "core/launch/gamestring_request.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/launch/token_refresh.h"

namespace ld {
namespace {

TEST(GamestringRequest, AddressRepairAndMovedFields) {
  std::string address = "unchanged";
  EXPECT_FALSE(GamestringServerAddress("http://gs/x?a=1", &address));
  ASSERT_TRUE(GamestringServerAddress("\"x ludoria://http://gs/g?a=1", &address));
  EXPECT_EQ(address, "http://gs/g?a=1");
  // One "/" lost after "http:" comes back; "https://" is not garbled.
  for (std::string s : {"http:/gs/g", "http://gs/g", "https://gs/g"}) {
    RepairHttpScheme(&s);
    EXPECT_EQ(s.substr(s.find("//")), "//gs/g");
  }

  // {address, request, fields moved, pairs removed}; "k22e" first found
  // inside "ak22e" is collected but not removed.
  const std::tuple<const char*, const char*, std::vector<std::string>, int> cases[] = {
      {"http://gs/g?k22e=TABLA&x=1&k300e=T1", "http://gs/g?x=1", {"k22e:5=TABLA", "k300e:2=T1"}, 2},
      {"http://gs/g?ak22e=1&k22e=2", "http://gs/g?ak22e=1&k22e=2", {"k22e:1=2"}, 0},
      {"http://gs/g?a=1&&clk2&p189=3", "http://gs/g?a=1&&p189=3", {"clk2"}, 1},
      {"http://gs/g?k3e=&lang=ko", "http://gs/g?lang=ko", {"k3e:0="}, 1}};
  for (const auto& [address, request, moved, removed] : cases) {
    const GamestringRequest r = BuildGamestringRequest(address);
    EXPECT_EQ(std::tie(r.address, r.moved_fields, r.removed_pairs),
              std::tie(request, moved, removed));
  }

  // Moved fields go behind the game id, else before the member id, else at
  // the end; never into an answer without a channel.
  const std::string h = "Gchannel://c metp://a/b/c/;";
  const std::string inserted[][2] = {
      {h + "k22e:5=TABLA&k93e:4=Game", h + "k22e:5=TABLA&F:1=x&k93e:4=Game"},
      {h + "k93e:4=Game&k3e:2=m1", h + "k93e:4=Game&F:1=x&k3e:2=m1"},
      {h + "k93e:4=Game", h + "k93e:4=Game&F:1=x"},
      {"no channel;k22e:1=G&k93e:1=x", "no channel;k22e:1=G&k93e:1=x"}};
  for (const auto& i : inserted) {
    std::string s = i[0];
    InsertMovedFields(&s, {"F:1=x"});
    EXPECT_EQ(s, i[1]);
  }
  std::string s = h + "k3e:2=m1&k22e:1=G";
  InsertMovedFields(&s, {"A", "B"});
  EXPECT_EQ(s, h + "A&B&k3e:2=m1&k22e:1=G");
}

TEST(GamestringRequest, TicketAndIdentifier) {
  bool clk2 = true;
  std::string first = "ludoria://http://gs/g?k22e=G&k300e=OLD&lang=ko";
  ASSERT_TRUE(ResynchroniseTicket(&first, "Gchannel://;k22e:1=G&k300e:3=NEW&k93e:1=t", &clk2));
  EXPECT_EQ(first, "ludoria://http://gs/g?k22e=G&k300e=NEW&lang=ko&clk2=1");
  EXPECT_FALSE(clk2);
  // Once per run: the second time no clk2; an answer without a ticket empties it.
  ASSERT_TRUE(ResynchroniseTicket(&first, "Gchannel://;k93e:1=t", &clk2));
  EXPECT_EQ(first, "ludoria://http://gs/g?k22e=G&k300e=&lang=ko&clk2=1");
  // Ticket as the first pair: rewritten in place, no "&" invented.
  first = "ludoria://http://gs/g?k300e=OLD&a=1";
  ASSERT_TRUE(ResynchroniseTicket(&first, ";k300e:1=N", &clk2));
  EXPECT_EQ(first, "ludoria://http://gs/g?k300e=N&a=1");
  first = "ludoria://http://gs/g?a=1";
  EXPECT_FALSE(ResynchroniseTicket(&first, ";k300e:1=N", &clk2));

  // A value holding "&" is replaced whole, thanks to its length.
  const char* ids[][3] = {{"G;k3e:1=m&k301e:5=a&b=c&k93e:1=t", "x", "G;k3e:1=m&k301e:1=x&k93e:1=t"},
                          {"G;k3e:1=m&k301e:3=old", "a&b", "G;k3e:1=m&k301e:3=a&b"},
                          {"G;k301e=broken&k93e:1=t", "n", "G;k301e:1=n&k93e:1=t"}};
  for (const auto& i : ids) {
    std::string s = i[0];
    WriteIdentifierField(&s, i[1]);
    EXPECT_EQ(s, i[2]) << i[0];
  }
  // Rewriting twice with an "&" in the identifier leaves no trace of the first.
  std::string s = "G;k301e:3=old&k93e:1=t";
  WriteIdentifierField(&s, "p&q");
  WriteIdentifierField(&s, "r");
  EXPECT_EQ(s, "G;k301e:1=r&k93e:1=t");
}

TEST(TokenRefresh, BodyChecksAndAnswer) {
  std::string body;
  // Letters and digits stay, from the first to the last of each range.
  ASSERT_TRUE(TokenRefreshBody("bW", "Z2", "aAZz09 @/:~\xB0", "w=1&x", &body));
  EXPECT_EQ(body, "memberno=bW&gameid=Z2&accesstoken=aAZz09+%40%2F%3A%7E%B0&webidentifier=w=1&x");
  // Refused rather than cut.
  std::string escaped = "kept";
  EXPECT_TRUE(EscapeAccessToken(std::string(170, '/') + "a", &escaped));  // 511 bytes, the limit
  EXPECT_FALSE(EscapeAccessToken(std::string(171, '/'), &escaped));
  EXPECT_EQ(escaped.size(), 511u);
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

}  // namespace
}  // namespace ld
