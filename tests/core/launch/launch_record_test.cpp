#include "core/launch/launch_record.h"

#include <gtest/gtest.h>

#include <string>

namespace ld {
namespace {

// A gamestring server answer as the old format delivers it.
const char kAnswer[] =
    "ludoria://STONEBANchannel://ch1 metp://gs.example/a/b/c?x;"
    "k22e:8=STONEBAN&k93e:9=Stone Ban&k89e:20=http://dl.example/sb&"
    "k95e:19=http://www.example/&k96e:22=http://dl.example/hul&k60e:8=StoneBan&"
    "k91e:4=1.25&k3e:6=user01&k301e:7=a&b=c:d&k300e:6=TICKET&executor:3=web";

// The analysed fields in one line: id|title|dist|home|hul|code|version|member|identifier|executor.
std::string Fields(const LaunchRecord& r) {
  return r.game_id + "|" + r.game_title + "|" + r.download_root + "|" + r.home_address + "|" +
         r.hul_root + "|" + r.game_code + "|" + std::to_string(r.version) + "|" + r.member_id +
         "|" + r.identifier + "|" + r.executor;
}

TEST(LaunchRecordAnalysis, ReadsEveryField) {
  LaunchRecord r;
  ProgramFlags flags;
  r.second_gamestring = kAnswer;
  std::string word = "stale";
  ASSERT_TRUE(r.AnalyseOldFormat(flags, &word));
  EXPECT_EQ(word, "");
  // The identifier stops at "&": the analysis getter ignores the length.
  EXPECT_EQ(Fields(r),
            "STONEBAN|Stone Ban|http://dl.example/sb|http://www.example/|http://dl.example/hul|"
            "StoneBan|1.250000|user01|a|web");
  EXPECT_EQ(flags.current_game_id, "STONEBAN");
}

struct FailureCase {
  const char* text;
  const char* word;
};

TEST(LaunchRecordAnalysis, FailureWords) {
  const FailureCase cases[] = {
      {"ludoria://STONEBAN metp://a/b/c/;k93e:1=t", ""},  // no channel: expired
      {"", ""},
      {"ludoria://ELEVENCHARSchannel://metp://a/b/c/;", "gameid"},
      {"ludoria://Gchannel://x/a/b/c/;", "metp"},
      {"ludoria://Gmetp://channel://x/a/b/c/;", "metp"},  // metp must follow channel
      {"ludoria://Gchannel://metp://a/b", "slash"},
      {"ludoria://Gchannel://metp://a/b;c", "slash"},
      {"ludoria://Gchannel://metp://a/b/c", "slash"},
      {"ludoria://Gchannel://metp://a/b/c/x", "semicolon"},
      {"ludoria://Gchannel://metp://a;/b/c/", "semicolon"},  // ";" before the 3rd "/"
      {"ludoria://Gchannel://metp://", "slash"},
  };
  for (const FailureCase& c : cases) {
    LaunchRecord r;
    r.game_title = "kept";
    r.game_id = "OLD";
    ProgramFlags flags;
    flags.current_game_id = "OLD";
    r.second_gamestring = c.text;
    std::string word = "stale";
    EXPECT_FALSE(r.AnalyseOldFormat(flags, &word)) << c.text;
    EXPECT_EQ(word, c.word) << c.text;
    // A failed analysis changes nothing.
    EXPECT_EQ(r.game_title, "kept") << c.text;
    EXPECT_EQ(r.game_id, "OLD") << c.text;
    EXPECT_EQ(flags.current_game_id, "OLD") << c.text;
  }
}

TEST(LaunchRecordAnalysis, PrefixAndGameIdLimits) {
  struct {
    const char* text;
    const char* game_id;
  } const cases[] = {
      {"Gchannel://metp://a/b/c/;", "G"},                              // missing prefix: whole text
      {"junk ludoria://Gchannel://metp://a/b/c/;", "G"},               // prefix not at the start
      {"ludoria://TENCHARSXXchannel://metp://a/b/c/;", "TENCHARSXX"},  // exactly 10
      {"ludoria://StoneBanchannel://metp://a/b/c/;", "StoneBan"},      // case kept
      {"ludoria://Gchannel://channel://metp://a/b/c/;", "G"},
  };
  for (const auto& c : cases) {
    LaunchRecord r;
    ProgramFlags flags;
    r.second_gamestring = c.text;
    std::string word;
    ASSERT_TRUE(r.AnalyseOldFormat(flags, &word)) << c.text << " " << word;
    EXPECT_EQ(r.game_id, c.game_id) << c.text;
  }
}

TEST(LaunchRecordAnalysis, EmptyValuesKeepFields) {
  LaunchRecord r;
  ProgramFlags flags;
  flags.current_game_id = "BEFORE";
  r.game_id = "BEFORE";
  r.game_title = "title";
  r.download_root = "dist";
  r.version = 3.5;
  r.member_id = "member";
  r.executor = "exec";
  // Empty game id, empty title value, absent download root, version and executor.
  r.second_gamestring = "ludoria://channel://metp://a/b/c/;k93e:0=&k3e:0=&k60e:1=n";
  std::string word;
  ASSERT_TRUE(r.AnalyseOldFormat(flags, &word));
  EXPECT_EQ(flags.current_game_id, "BEFORE");
  EXPECT_EQ(Fields(r), "BEFORE|title|dist|||n|3.500000|member||exec");
}

TEST(LaunchRecordAnalysis, MemberIdCutToCapacityAndFailureWordOptional) {
  LaunchRecord r;
  ProgramFlags flags;
  const std::string long_member(60, 'm');
  r.second_gamestring = "Gchannel://metp://a/b/c/;k3e:60=" + long_member;
  EXPECT_TRUE(r.AnalyseOldFormat(flags, nullptr));
  EXPECT_EQ(r.member_id, std::string(kMemberIdCapacity, 'm'));
  r.second_gamestring = "x";
  EXPECT_FALSE(r.AnalyseOldFormat(flags, nullptr));
}

TEST(LaunchRecordAnalysis, VersionReadsLeadingReal) {
  struct {
    const char* value;
    double expected;
  } const cases[] = {{"1.5", 1.5}, {" 2.75x", 2.75}, {"3", 3.0}, {"abc", 0.0}, {"-1.5", -1.5}};
  for (const auto& c : cases) {
    LaunchRecord r;
    ProgramFlags flags;
    r.second_gamestring = std::string("Gchannel://metp://a/b/c/;k91e:9=") + c.value;
    ASSERT_TRUE(r.AnalyseOldFormat(flags, nullptr));
    EXPECT_DOUBLE_EQ(r.version, c.expected) << c.value;
  }
}

TEST(LaunchRecordNewFormat, ReadsNamedParameters) {
  LaunchRecord r;
  ProgramFlags flags;
  // P0 "user01", P1 "StoneBan".
  r.second_gamestring = "ludoria://P=&P0=dXNlcjAx&P1=U3RvbmVCYW4=&P2=MjU2&P4=tok&P8=ident";
  std::string word;
  ASSERT_TRUE(r.AnalyseNewFormat({"http://dl.example", "http://www.example/"}, flags, &word));
  EXPECT_EQ(flags.current_game_id, "stoneban");
  EXPECT_EQ(Fields(r),
            "stoneban|루도리아|http://dl.example/dist|http://www.example/|http://dl.example/hul|"
            "StoneBan|0.000000|user01|ident|");
  // The raw values stay for the token refresh, which sends them back.
  EXPECT_EQ(r.p0 + "|" + r.p1 + "|" + r.p4 + "|" + r.p8, "dXNlcjAx|U3RvbmVCYW4=|tok|ident");
}

TEST(LaunchRecordNewFormat, CookieOverridesP8AndLongGameIdFails) {
  LaunchRecord r;
  ProgramFlags flags;
  r.second_gamestring = "ludoria://P=&P8=ident&k301e:3=ck1";
  ASSERT_TRUE(r.AnalyseNewFormat({}, flags, nullptr));
  EXPECT_EQ(r.identifier, "ck1");
  EXPECT_EQ(r.download_root, "");  // no zone root: left alone

  // P1 decoding to 11 characters ("ELEVENCHARS") cannot be stored.
  r.second_gamestring = "ludoria://P=&P1=RUxFVkVOQ0hBUlM=";
  std::string word;
  EXPECT_FALSE(r.AnalyseNewFormat({}, flags, &word));
  EXPECT_EQ(word, "gameid");
}

TEST(LaunchRecord, CapacitiesAndReset) {
  LaunchRecord r;
  r.CopyGameId("ABCDEFGHIJKL");
  r.CopyMemberId(std::string(51, 'x'));
  EXPECT_EQ(r.game_id, "ABCDEFGHIJ");
  EXPECT_EQ(r.member_id.size(), kMemberIdCapacity);
  r.CopyGameId("short");
  EXPECT_EQ(r.game_id, "short");
  r.zone_number = 3;
  r.version = 1;
  r.Reset();
  EXPECT_EQ(r.game_id, "");
  EXPECT_EQ(r.member_id, "");
  EXPECT_EQ(r.zone_number, 0);
  EXPECT_EQ(r.version, 0);
}

}  // namespace
}  // namespace ld
