#include "core/launch/gamestring_dump.h"

#include <gtest/gtest.h>

#include <string>

namespace ld {
namespace {

struct PartsCase {
  const char* rest;
  bool second;
  const char* expected;
};

TEST(PartsDump, CareTablesTicketsAndDecoding) {
  const PartsCase cases[] = {
      // Tickets and cookies are never shown, only a placeholder.
      {"k22e=G&k300e=SECRET", false, "--- DONT CARE ---\nk300e=[TICKET]\n=== CARE ===\nk22e=\"G\""},
      {"k301e:6=SECRET&k93e:2=xy", true,
       "--- DONT CARE ---\nk301e=[COOKIE]\n=== CARE ===\nk93e=\"xy\""},
      // P0..P2 decoded under CARE; "shutdown" decoded under DONT CARE; P4 raw.
      {"P=&P0=QQ==&P1=QUI=&P2=MjU2&P4=QUJD&shutdown=MjAyNg==", false,
       "--- DONT CARE ---\nP4=\"QUJD\"\nshutdown=\"2026\"\n"
       "=== CARE ===\nP=\"\"\nP0=\"A\"\nP1=\"AB\"\nP2=\"256\""},
      // Table A keys that table B lacks go under DONT CARE in a second gamestring.
      {"lang:6=KOREAN&k60e:1=n&k89e:2=QQ", true,
       "--- DONT CARE ---\nlang=\"KOREAN\"\n=== CARE ===\nk60e=\"n\"\nk89e=\"QQ\""},
      // Byte-wise key order: upper case before lower case.
      {"b=2&B=1&a=0", false, "--- DONT CARE ---\nB=\"1\"\na=\"0\"\nb=\"2\"\n=== CARE ==="},
      // Duplicate keys: the later value is shown once.
      {"k22e=A&k22e=B", false, "--- DONT CARE ---\n=== CARE ===\nk22e=\"B\""},
      {"", false, "--- DONT CARE ---\n=== CARE ==="},
  };
  for (const PartsCase& c : cases) EXPECT_EQ(PartsDump(c.rest, c.second), c.expected) << c.rest;
}

struct DumpCase {
  const char* text;
  bool second;
  GamestringFormat format;
  const char* expected;
};

TEST(LaunchStringDumpText, Layout) {
  const DumpCase cases[] = {
      // First gamestring: leading blanks skipped, head before "?", other params.
      {"  ludoria://h/gs.asp?k22e=G&lang=K  /x\t y", false, GamestringFormat::kOld,
       "* Commandline *\nludoria://h/gs.asp?k22e=G&lang=K  /x\t y\n"
       "** head **\nludoria://h/gs.asp\n"
       "** <key=value> parts **\n--- DONT CARE ---\n=== CARE ===\nk22e=\"G\"\nlang=\"K\"\n"
       "** Other Params **\n/x\t y"},
      // No "?": empty head, no head section.
      {"k22e=G", false, GamestringFormat::kOld,
       "* Commandline *\nk22e=G\n"
       "** <key=value> parts **\n--- DONT CARE ---\n=== CARE ===\nk22e=\"G\"\n"},
      // Second gamestring without ";": empty head, all of it split as parts.
      {"k93e:2=xy&k60e:1=n", true, GamestringFormat::kOld,
       "* 2nd Gamestring *\nk93e:2=xy&k60e:1=n\n"
       "** <key=value> parts **\n--- DONT CARE ---\n=== CARE ===\nk60e=\"n\"\nk93e=\"xy\"\n"},
      // Second gamestring: blanks belong to the text, the head ends at ";".
      {"ludoria://G channel://c metp://a/b/c/;k93e:3=x y", true, GamestringFormat::kOld,
       "* 2nd Gamestring *\nludoria://G channel://c metp://a/b/c/;k93e:3=x y\n"
       "** head **\nludoria://G channel://c metp://a/b/c/\n"
       "** <key=value> parts **\n--- DONT CARE ---\n=== CARE ===\nk93e=\"x y\"\n"},
      // New format: the separator ("P", "=" or "&") stays in the rest.
      {"ludoria://P=&P0=QQ==&P1=QUI=", false, GamestringFormat::kNew,
       "* Commandline *\nludoria://P=&P0=QQ==&P1=QUI=\n"
       "** head **\nludoria://\n"
       "** <key=value> parts **\n--- DONT CARE ---\n=== CARE ===\n"
       "P=\"\"\nP0=\"A\"\nP1=\"AB\"\n"},
      // Blanks only.
      {" \t ", false, GamestringFormat::kOld,
       "* Commandline *\n\n** <key=value> parts **\n--- DONT CARE ---\n=== CARE ===\n"},
  };
  for (const DumpCase& c : cases)
    EXPECT_EQ(LaunchStringDumpText(c.text, c.second, c.format), c.expected) << c.text;
}

}  // namespace
}  // namespace ld
