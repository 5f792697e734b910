#include "core/launch/launch_string_texts.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "core/base/time_value.h"
#include "core/launch/game_start_rules.h"
#include "core/launch/member_id.h"

namespace ld {
namespace {

TEST(LaunchStringTexts, FailuresTimesAndDiagnostic) {
  EXPECT_EQ(OpenFailureDetail(12029, 10061) + OpenFailureDetail(12030, 0),
            "INTERNET_CANNOT_CONNECT_1006112030_0");
  EXPECT_EQ(StatusFailureText("Unable to open the URL. (Code:%u)\n%s", 404, "[Gamestring server]"),
            "Unable to open the URL. (Code:404)\n[Gamestring server]");
  // A translated text with a stray conversion shows it, nothing is read for it.
  EXPECT_EQ(StatusFailureText("%s %u %d", 500, "x"), "x 500 %d");
  EXPECT_EQ(StatusFailureText("(Code:%d) %s %x", 404, "x"), "(Code:404) x %x");

  const BrokenDownTime utc{2024, 3, 5, 1, 4, 5, 6, 89}, local{2024, 3, 5, 1, 14, 5, 6, 89};
  // "shutdown" holds base64 of the page's time stamp.
  const std::string first = "ludoria://http://gs/g?a=1&shutdown=MjAyNC0wMy0wNA==";
  EXPECT_EQ(ExpiredGamestringText(std::string(600, 'm'), utc, local, first),
            std::string(511, 'm') +
                "\nUTC: 2024-03-01.금 04:05:06\nLocal: 2024-03-01.금 14:05:06"
                "\n( gamestring time : 2024-03-04 )");
  EXPECT_EQ(GamestringTimeText("ludoria://x?shutdown=&a=1"), "");
  EXPECT_EQ(GamestringDiagnosticText("cmd", "first", "2nd", utc, local),
            "[1st gamestring] (3)\n\"cmd\"\n[1st gamestring modified] (5)\n\"first\"\n"
            "[2nd gamestring] (3)\n\"2nd\"\n[Time]\nUTC: 2024-03-01.금 04:05:06 [millisecond:89]\n"
            "Local: 2024-03-01.금 14:05:06 [millisecond:89]");
}

TEST(GameStartRules, HandoverAndCommand) {
  std::string third = "kept";
  EXPECT_FALSE(HandoverText("TABLAchannel://metp://a/b/c/;k93e:4=Game", &third));
  ASSERT_TRUE(HandoverText("xx ludoria://abc ludoria://d", &third));
  EXPECT_EQ(third, "abc ludoria://d");
  EXPECT_EQ(HandoverCaption("tabla") + "|" + GameProgramText("tabla", true) + "|" +
                GameProgramText("tabla", false) + "|" + GameExecutablePath("C:\\G", "tabla"),
            "3rd gamestring (to tabla.exe)|tabla.exe -popupwindow|tabla.exe|C:\\G\\tabla.exe");
  EXPECT_EQ(CompanionArguments("g", "m 1", "C:\\G"), "\"g\" \"m 1\" \"C:\\G\"");
  EXPECT_TRUE(ReportsExecutor("TriOka") && !ReportsExecutor("trioka2"));
  EXPECT_EQ(MissingExecutableText("<%s %s> %s", "Title", "Code"), "<Title Code> %s");
}

TEST(MemberId, RoundTripsAndRejectsWhatTheCheckByteDoesNotConfirm) {
  for (const std::string& id : {std::string("a"), std::string("someone@ludoria.com"),
                                std::string("\xB7\xE7\xB5\xE5 \xBD\xBA"),  // code page 949
                                std::string(70, 'x'),  // longer than the key table
                                std::string("\x01\x7F\x80\xFF")}) {
    const std::string hex = ScrambleMemberId(id);
    ASSERT_EQ(hex.size(), 2 * id.size() + 2) << id;
    EXPECT_EQ(UnscrambleMemberId(hex), id) << hex;
  }
  const std::string hex = ScrambleMemberId("gamer");
  EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos) << hex;
  std::string lower = hex;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(UnscrambleMemberId(lower), "gamer");
  // The same letter twice, or in ids of another length, must give another
  // byte: otherwise the scheme is a plain substitution.
  const std::string two = ScrambleMemberId("aa");
  EXPECT_NE(two.substr(0, 2), two.substr(2, 2));
  EXPECT_NE(ScrambleMemberId("a").substr(0, 2), ScrambleMemberId("ab").substr(0, 2));

  // Plain ids of non-hex letters read as zero digits would pass the check
  // (zero sum, zero check byte) and come out as key bytes.
  std::string wrong_check = hex, wrong_data = hex, non_hex = hex;
  wrong_check.back() = wrong_check.back() == '0' ? '1' : '0';
  wrong_data[0] = wrong_data[0] == '0' ? '1' : '0';
  non_hex[3] = 'g';
  for (const std::string& bad : {wrong_check, wrong_data, non_hex, hex.substr(1), std::string(),
                                 std::string("player"), std::string("01"), std::string("00"),
                                 std::string("\xB7\xE7\xB5\xE5"), std::string("zzzzzz")})
    EXPECT_EQ(UnscrambleMemberId(bad), "") << bad;
  // A scrambled NUL must not smuggle bytes past the end of the text.
  EXPECT_EQ(UnscrambleMemberId(ScrambleMemberId(std::string("a\0b", 3))), "a");
}

}  // namespace
}  // namespace ld
