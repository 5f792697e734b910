#include <gtest/gtest.h>

#include <string>

#include "core/launch/game_start_rules.h"
#include "core/launch/launch_string_texts.h"
#include "core/base/time_value.h"

namespace ld {
namespace {

TEST(LaunchStringTexts, FailureDetailAndStatus) {
  EXPECT_EQ(OpenFailureDetail(12002, 0), "INTERNET_TIMEOUT_0");
  EXPECT_EQ(OpenFailureDetail(12029, 10061), "INTERNET_CANNOT_CONNECT_10061");
  EXPECT_EQ(OpenFailureDetail(12030, 0), "12030_0");
  EXPECT_EQ(StatusFailureText("Unable to open the URL. (Code:%u)\n%s", 404, "[Gamestring server]"),
            "Unable to open the URL. (Code:404)\n[Gamestring server]");
  // A translated text with a stray conversion shows it, nothing is read for it.
  EXPECT_EQ(StatusFailureText("%s %u %d", 500, "x"), "x 500 %d");
  EXPECT_EQ(StatusFailureText("(Code:%d) %s %x", 404, "x"), "(Code:404) x %x");
}

TEST(LaunchStringTexts, TimesAndDiagnostic) {
  BrokenDownTime utc{2024, 3, 1, 4, 5, 6, 7, 89};  // a Friday
  BrokenDownTime local = utc;
  local.hour = 14;
  // "shutdown" holds base64 of the page's time stamp.
  const std::string first = "ludoria://http://gs/g?a=1&shutdown=MjAyNC0wMy0wNA==";
  const std::string expired = ExpiredGamestringText(std::string(600, 'm'), utc, local, first);
  EXPECT_EQ(expired.substr(0, 512), std::string(511, 'm') + "\n");
  EXPECT_NE(expired.find("UTC: 2024-03-04."), std::string::npos);
  EXPECT_NE(expired.find(" 05:06:07\nLocal: 2024-03-04."), std::string::npos);
  EXPECT_EQ(expired.find("millisecond"), std::string::npos);
  EXPECT_NE(expired.find("\n( gamestring time : 2024-03-04 )"), std::string::npos);
  EXPECT_EQ(GamestringTimeText("ludoria://x?shutdown=&a=1"), "");

  const std::string d = GamestringDiagnosticText("cmd", "first", "2nd", utc, local);
  EXPECT_EQ(d.substr(0, d.find("[Time]")),
            "[1st gamestring] (3)\n\"cmd\"\n[1st gamestring modified] (5)\n\"first\"\n"
            "[2nd gamestring] (3)\n\"2nd\"\n");
  EXPECT_NE(d.find("[Time]\nUTC: "), std::string::npos);
  EXPECT_NE(d.find(" [millisecond:89]"), std::string::npos);
}

TEST(GameStartRules, HandoverAndCommand) {
  std::string third = "kept";
  EXPECT_FALSE(HandoverText("TABLAchannel://metp://a/b/c/;k93e:4=Game", &third));
  EXPECT_EQ(third, "kept");
  ASSERT_TRUE(HandoverText("ludoria://TABLAchannel://metp://a/b/c/;k93e:4=Game", &third));
  EXPECT_EQ(third, "TABLAchannel://metp://a/b/c/;k93e:4=Game");
  ASSERT_TRUE(HandoverText("xx ludoria://abc ludoria://d", &third));
  EXPECT_EQ(third, "abc ludoria://d");
  EXPECT_EQ(HandoverCaption("tabla"), "3rd gamestring (to tabla.exe)");
  EXPECT_EQ(GameProgramText("tabla", true), "tabla.exe -popupwindow");
  EXPECT_EQ(GameProgramText("tabla", false), "tabla.exe");
  EXPECT_EQ(GameExecutablePath("C:\\G\\ko", "tabla"), "C:\\G\\ko\\tabla.exe");
  EXPECT_EQ(CompanionArguments("g", "m 1", "C:\\G"), "\"g\" \"m 1\" \"C:\\G\"");
  EXPECT_TRUE(ReportsExecutor("TriOka"));
  EXPECT_FALSE(ReportsExecutor("trioka2"));
  EXPECT_EQ(MissingExecutableText("<%s %s> %s", "Title", "Code"), "<Title Code> %s");
}

}  // namespace
}  // namespace ld
