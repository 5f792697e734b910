#include "core/launch/gamestring_dump.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace ld {
namespace {

std::string Parts(const std::string& dont_care, const std::string& care) {
  return "--- DONT CARE ---\n" + dont_care + "=== CARE ===" + care;
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
      {"b=2&B=1&a=0&k22e=A&k22e=B", false, Parts("B=\"1\"\na=\"0\"\nb=\"2\"\n", "\nk22e=\"B\"")},
      {"", false, Parts("", "")}};
  for (const auto& [rest, second, dump] : parts) EXPECT_EQ(PartsDump(rest, second), dump) << rest;

  const std::tuple<const char*, bool, GamestringFormat, std::string> texts[] = {
      // First gamestring: leading blanks skipped, head before "?", other params.
      {"  ludoria://h/gs.asp?k22e=G  /x\t y", false, GamestringFormat::kOld,
       "* Commandline *\nludoria://h/gs.asp?k22e=G  /x\t y\n** head **\nludoria://h/gs.asp\n"
       "** <key=value> parts **\n" +
           Parts("", "\nk22e=\"G\"\n") + "** Other Params **\n/x\t y"},
      // No "?" or ";": empty head, no head section.
      {"k22e=G", false, GamestringFormat::kOld,
       "* Commandline *\nk22e=G\n** <key=value> parts **\n" + Parts("", "\nk22e=\"G\"\n")},
      {"k93e:2=xy", true, GamestringFormat::kOld,
       "* 2nd Gamestring *\nk93e:2=xy\n** <key=value> parts **\n" + Parts("", "\nk93e=\"xy\"\n")},
      // Second gamestring: blanks belong to the text, the head ends at ";".
      {"ludoria://G metp://a/;k93e:3=x y", true, GamestringFormat::kOld,
       "* 2nd Gamestring *\nludoria://G metp://a/;k93e:3=x y\n** head **\nludoria://G metp://a/\n"
       "** <key=value> parts **\n" +
           Parts("", "\nk93e=\"x y\"\n")},
      // New format: the separator ("P", "=" or "&") stays in the rest.
      {"ludoria://P=&P1=QUI=", false, GamestringFormat::kNew,
       "* Commandline *\nludoria://P=&P1=QUI=\n** head **\nludoria://\n** <key=value> parts **\n" +
           Parts("", "\nP=\"\"\nP1=\"AB\"\n")},
      {" \t ", false, GamestringFormat::kOld,
       "* Commandline *\n\n** <key=value> parts **\n" + Parts("", "\n")}};
  for (const auto& [text, second, format, dump] : texts)
    EXPECT_EQ(LaunchStringDumpText(text, second, format), dump) << text;
}

}  // namespace
}  // namespace ld
