#include "core/launch/launch_record.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "core/base/time_value.h"
#include "core/launch/game_start_rules.h"
#include "core/launch/gamestring_dump.h"
#include "core/launch/launch_string_texts.h"
#include "core/launch/member_id.h"

namespace ld {
namespace {

// The analysed fields in one line: id|title|dist|home|hul|code|version|member|identifier|executor.
std::string Fields(const LaunchRecord& r) {
  return r.game_id + "|" + r.game_title + "|" + r.download_root + "|" + r.home_address + "|" +
         r.hul_root + "|" + r.game_code + "|" + std::to_string(r.version) + "|" + r.member_id +
         "|" + r.identifier + "|" + r.executor;
}

TEST(LaunchRecord, OldFormatFieldsFailuresAndLimits) {
  LaunchRecord r;
  ProgramFlags flags;
  r.second_gamestring =
      "ludoria://STONEBANchannel://ch1 metp://gs.example/a/b/c?x;k22e:8=STONEBAN&k93e:9=Stone Ban&"
      "k89e:20=http://dl.example/sb&k95e:19=http://www.example/&k96e:22=http://dl.example/hul&"
      "k60e:8=StoneBan&k91e:4=1.25&k3e:6=user01&k301e:7=a&b=c:d&k300e:6=TICKET&executor:3=web";
  std::string word = "stale";
  ASSERT_TRUE(r.AnalyseOldFormat(flags, &word));
  EXPECT_EQ(word, "");
  // The identifier stops at "&": the analysis getter ignores the length.
  const std::string all =
      "STONEBAN|Stone Ban|http://dl.example/sb|http://www.example/|"
      "http://dl.example/hul|StoneBan|1.250000|user01|a|web";
  EXPECT_EQ(Fields(r), all);
  EXPECT_EQ(flags.current_game_id, "STONEBAN");

  // Failure words; a failed analysis changes nothing.
  std::string words;
  for (const char* text :
       {"ludoria://STONEBAN metp://a/b/c/;k93e:1=t", "",
        "ludoria://ELEVENCHARSchannel://metp://a/b/c/;", "ludoria://Gchannel://x/a/b/c/;",
        "ludoria://Gchannel://metp://a/b;c", "ludoria://Gchannel://metp://a/b/c",
        "ludoria://Gchannel://metp://a;/b/c/"}) {
    r.second_gamestring = text;
    EXPECT_FALSE(r.AnalyseOldFormat(flags, &word)) << text;
    EXPECT_EQ(Fields(r) + flags.current_game_id, all + "STONEBAN") << text;
    words += word + ",";
  }
  EXPECT_EQ(words, ",,gameid,metp,slash,slash,semicolon,");
  EXPECT_FALSE(r.AnalyseOldFormat(flags, nullptr));  // the failure word is optional

  // Empty or absent values keep their fields.
  r.second_gamestring = "ludoria://channel://metp://a/b/c/;k93e:0=&k3e:0=&k60e:1=n";
  ASSERT_TRUE(r.AnalyseOldFormat(flags, nullptr));
  EXPECT_EQ(Fields(r) + flags.current_game_id,
            std::string(all).replace(all.find("|StoneBan|"), 10, "|n|") + "STONEBAN");

  // Game ids (the prefix anywhere or missing, exactly ten characters), the
  // version as a leading real, the member id cut to its capacity.
  std::string ids;
  for (const char* text : {"Gchannel://metp://a/b/c/;k91e:3= 2.75x",
                           "junk ludoria://Hchannel://metp://a/b/c/;k91e:3=abc",
                           "ludoria://TENCHARSXXchannel://metp://a/b/c/;k91e:4=-1.5",
                           "ludoria://Ichannel://channel://metp://a/b/c/;"}) {
    r.second_gamestring = text;
    ASSERT_TRUE(r.AnalyseOldFormat(flags, nullptr)) << text;
    ids += r.game_id + " " + std::to_string(r.version) + ",";
  }
  EXPECT_EQ(ids, "G 2.750000,H 0.000000,TENCHARSXX -1.500000,I -1.500000,");
  r.second_gamestring = "Gchannel://metp://a/b/c/;k3e:60=" + std::string(60, 'm');
  ASSERT_TRUE(r.AnalyseOldFormat(flags, nullptr));
  EXPECT_EQ(r.member_id, std::string(kMemberIdCapacity, 'm'));
}

TEST(LaunchRecord, NewFormatCapacitiesAndReset) {
  LaunchRecord r;
  ProgramFlags flags;
  // P0 "user01", P1 "StoneBan".
  r.second_gamestring = "ludoria://P=&P0=dXNlcjAx&P1=U3RvbmVCYW4=&P2=MjU2&P4=tok&P8=ident";
  ASSERT_TRUE(r.AnalyseNewFormat({"http://dl.example", "http://www.example/"}, flags, nullptr));
  EXPECT_EQ(flags.current_game_id, "stoneban");
  EXPECT_EQ(Fields(r),
            "stoneban|루도리아|http://dl.example/dist|http://www.example/|"
            "http://dl.example/hul|StoneBan|0.000000|user01|ident|");
  // The raw values stay for the token refresh, which sends them back.
  EXPECT_EQ(r.p0 + "|" + r.p1 + "|" + r.p4 + "|" + r.p8, "dXNlcjAx|U3RvbmVCYW4=|tok|ident");

  LaunchRecord c;
  c.second_gamestring = "ludoria://P=&P8=ident&k301e:3=ck1";  // the cookie wins over P8
  ASSERT_TRUE(c.AnalyseNewFormat({}, flags, nullptr));
  EXPECT_EQ(c.identifier + "|" + c.download_root, "ck1|");  // no zone root: left alone
  // P1 decoding to 11 characters ("ELEVENCHARS") cannot be stored.
  c.second_gamestring = "ludoria://P=&P1=RUxFVkVOQ0hBUlM=";
  std::string word;
  EXPECT_FALSE(c.AnalyseNewFormat({}, flags, &word));
  EXPECT_EQ(word, "gameid");

  r.CopyGameId("ABCDEFGHIJKL");
  EXPECT_EQ(r.game_id, "ABCDEFGHIJ");
  r.zone_number = 3;
  r.Reset();
  EXPECT_EQ(Fields(r) + std::to_string(r.zone_number), "||||||0.000000|||0");
}

std::string Parts(const std::string& dont_care, const std::string& care) {
  return "--- DONT CARE ---\n" + dont_care + "=== CARE ===" + care;
}

// A whole dump; a text without a head has no head section.
std::string Dump(const std::string& title, const std::string& text, const std::string& head,
                 const std::string& care) {
  return "* " + title + " *\n" + text + "\n" + (head.empty() ? "" : "** head **\n" + head + "\n") +
         "** <key=value> parts **\n" + Parts("", "\n" + care);
}

TEST(GamestringDump, PartsAndLayout) {
  // {rest, second gamestring, dump}
  const std::tuple<const char*, bool, std::string> parts[] = {
      // Tickets and cookies are never shown, only a placeholder.
      {"k22e=G&k300e=SECRET", false, Parts("k300e=[TICKET]\n", "\nk22e=\"G\"")},
      {"k301e:6=SECRET&k93e:2=xy", true, Parts("k301e=[COOKIE]\n", "\nk93e=\"xy\"")},
      // P0..P2 decoded under CARE; "shutdown" decoded under DONT CARE; P4 raw.
      {"P=&P0=QQ==&P1=QUI=&P2=MjU2&P4=QUJD&shutdown=MjAyNg==", false,
       Parts("P4=\"QUJD\"\nshutdown=\"2026\"\n", "\nP=\"\"\nP0=\"A\"\nP1=\"AB\"\nP2=\"256\"")},
      // Table A keys that table B lacks go under DONT CARE in a second gamestring.
      {"lang:6=KOREAN&k60e:1=n&k89e:2=QQ", true,
       Parts("lang=\"KOREAN\"\n", "\nk60e=\"n\"\nk89e=\"QQ\"")},
      // Byte-wise key order; duplicate keys show the later value once.
      {"b=2&B=1&a=0&k22e=A&k22e=B", false, Parts("B=\"1\"\na=\"0\"\nb=\"2\"\n", "\nk22e=\"B\"")}};
  for (const auto& [rest, second, dump] : parts) EXPECT_EQ(PartsDump(rest, second), dump) << rest;

  const std::tuple<const char*, bool, GamestringFormat, std::string> texts[] = {
      // First gamestring: leading blanks skipped, head before "?", other params.
      {"  ludoria://h/gs.asp?k22e=G  /x\t y", false, GamestringFormat::kOld,
       Dump("Commandline", "ludoria://h/gs.asp?k22e=G  /x\t y", "ludoria://h/gs.asp",
            "k22e=\"G\"\n") +
           "** Other Params **\n/x\t y"},
      // Second gamestring: blanks belong to the text, the head ends at ";".
      {"ludoria://G metp://a/;k93e:3=x y", true, GamestringFormat::kOld,
       Dump("2nd Gamestring", "ludoria://G metp://a/;k93e:3=x y", "ludoria://G metp://a/",
            "k93e=\"x y\"\n")},
      // New format: the separator ("P", "=" or "&") stays in the rest.
      {"ludoria://P=&P1=QUI=", false, GamestringFormat::kNew,
       Dump("Commandline", "ludoria://P=&P1=QUI=", "ludoria://", "P=\"\"\nP1=\"AB\"\n")},
      // Only blanks: no head section.
      {" \t ", false, GamestringFormat::kOld, Dump("Commandline", "", "", "")}};
  for (const auto& [text, second, format, dump] : texts)
    EXPECT_EQ(LaunchStringDumpText(text, second, format), dump) << text;
}

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
                                std::string(70, 'x')}) {  // longer than the key table
    const std::string hex = ScrambleMemberId(id);
    ASSERT_EQ(hex.size(), 2 * id.size() + 2) << id;
    EXPECT_EQ(UnscrambleMemberId(hex), id) << hex;
  }
  const std::string hex = ScrambleMemberId("gamer");
  // Ids already stored and sent keep reading the same: upper-case hex, the
  // check byte last; lower-case digits are read too.
  EXPECT_EQ(hex, "084B7B3AD6DE");
  EXPECT_EQ(UnscrambleMemberId("084b7b3ad6de"), "gamer");
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
  for (const std::string& bad :
       {wrong_check, wrong_data, non_hex, hex.substr(1), std::string(), std::string("player"),
        std::string("01"), std::string("\xB7\xE7\xB5\xE5")})
    EXPECT_EQ(UnscrambleMemberId(bad), "") << bad;
  // A scrambled NUL must not smuggle bytes past the end of the text.
  EXPECT_EQ(UnscrambleMemberId(ScrambleMemberId(std::string("a\0b", 3))), "a");
}

}  // namespace
}  // namespace ld
