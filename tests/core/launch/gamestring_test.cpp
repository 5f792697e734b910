#include "core/launch/gamestring.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/launch/zone.h"

namespace ld {
namespace {

TEST(Gamestring, FormatPrefixAndPairs) {
  EXPECT_EQ(FormatOfCommandLine("\"C:\\ld\\ldstarter.exe\" ludoria://P=&P0=QQ"),
            GamestringFormat::kNew);
  for (const char* old : {"ludoria://p=&P0=QQ", "ludoria://P=1&P0=QQ", "ludoria://host/a?P=&"})
    EXPECT_EQ(FormatOfCommandLine(old), GamestringFormat::kOld) << old;
  std::string skipped;
  for (const char* text :
       {"ludoria://abc", "xx ludoria://ludoria://", "ludoria:/abc", "LUDORIA://abc"})
    skipped += std::to_string(static_cast<long>(SkipPrefix(text, kAddressPrefix))) + " ";
  EXPECT_EQ(skipped, "10 13 -1 -1 ");

  // {text, pair, value or "-" when not found}: the first occurrence, even
  // inside a key; the value runs to "&" or the end; case counts.
  const char* pairs[][3] = {{"x?ak22e=1&k22e=2", "k22e=", "1"},
                            {"x?k22e=a=b&c", "k22e=", "a=b"},
                            {"x?k22e=&a=1", "k22e=", ""},
                            {"k22e=", "k22e=", ""},
                            {"x?k22e", "k22e=", "-"},
                            {"P=&P189=3", "p189=", "-"},
                            {"abc", "", "-"}};
  for (const auto& p : pairs) {
    std::string value = "-";
    const std::size_t length = PairValue(p[0], p[1], &value);
    EXPECT_EQ(value + std::to_string(length), p[2] + std::to_string(*p[2] == '-' ? 0 : 5)) << p[0];
  }
  EXPECT_EQ(PairValue("x?k22e=ABC", "k22e="), 5u);
  EXPECT_TRUE(HasPair("k22e", "u?xk22e=1") && HasPair("", "a=1"));
  EXPECT_FALSE(HasPair("k22e", "u?k22e") || HasPair("k22e", "u?K22E=1") || HasPair("", "abc"));

  // {text, key, value}: the length is ignored and the value cut at "&"; the
  // first "=" behind the key counts, wherever it is.
  const char* values[][3] = {{"k93e:5=Stone&k89e:3=abc", "k89e:", "abc"},
                             {"k3e:3=a&b&k93e:2=xy", "k3e", "a"},
                             {"k93e:9=a=b:c&d=e", "k93e:", "a=b:c"},
                             {"k93e:0=&k89e:1=z", "k93e:", ""},
                             {"k93e:5", "k93e:", ""},
                             {"k93e:5&k89e:1=z", "k93e:", "z"},
                             {"a=1", "k93e:", ""},
                             {"k93e:3=abc", "", "abc"}};
  for (const auto& v : values) EXPECT_EQ(AnalysisValue(v[0], v[1]), v[2]) << v[0] << " / " << v[1];
}

TEST(Gamestring, NamedParametersGameIdsNumbersAndZones) {
  // {text, name, decoded value or "-" when not found}: ASCII case ignored,
  // the first match wins, the name must be followed by "=".
  const char* named[][3] = {{"ludoria://P=&P0=QUJD&P1=QUI", "P1", "AB"},
                            {"ludoria://P=&P0=QUJD", "p0", "ABC"},
                            {"ludoria://P=&P1=&P1=QUJD", "P1", ""},
                            {"ludoria://P=&P10=QUJD", "P1", "-"},
                            {"ludoria://P=&XP1=QUJD", "P1", "ABC"},
                            {"ludoria://P=&P1", "P1", "-"},
                            {"", "P1", "-"}};
  for (const auto& n : named) {
    bool found = false;
    const std::string value = NamedParameter(n[0], n[1], &found);
    EXPECT_EQ(found ? value : "-", n[2]) << n[0] << " / " << n[1];
  }
  EXPECT_EQ(NamedParameter("P1=QUJD", "P1"), "ABC");  // the flag is optional
  EXPECT_EQ(GameIdOfGamestring("ludoria://h/a?k22e=StoneBan&x=1", GamestringFormat::kOld),
            "StoneBan");
  EXPECT_EQ(GameIdOfGamestring("ludoria://P=&P1=U3RvbmVCYW4=", GamestringFormat::kNew), "StoneBan");
  EXPECT_EQ(GameIdOfGamestring("ludoria://P=&k22e=X", GamestringFormat::kNew), "");

  std::string ints;
  for (const char* text : {"  42abc", "\t-70", "\r+3", "", "- 3", "2147483648",
                           "-99999999999999999999", "99999999999999999999"})
    ints += std::to_string(LeadingInt(text)) + " ";
  EXPECT_EQ(ints, "42 -70 3 0 0 2147483647 -2147483648 2147483647 ");

  // Old format: only "&p189=" counts, the byte right behind it, any byte.
  // New format: P2 decoded, read as a number, bits 0x0F00; 0x100 is zone 3,
  // 0x400 zone 1. An overflowing number must not wrap into a zone.
  std::string zones;
  auto add = [&zones](const char* text, GamestringFormat format) {
    const char zone = ZoneValue(text, format);
    zones += std::string(1, zone == kNoZone ? '.' : zone) + std::to_string(ZoneNumber(zone)) +
             (IsTestZone(zone) ? "t " : " ");
  };
  for (const char* text : {"?k22e=g1&p189=3&k3e=x", "?p189=1&k22e=g1",
                           "?k22e=g1&p189=", "?a=1&p189=&y=1", "P=&P1=ZzE=&P2=MjU2&x=1"})
    add(text, GamestringFormat::kOld);
  // 1024, 1280, 1279, 511, 800, -3840, empty, none, overflowing.
  for (const char* text :
       {"P=&P0=dXNlcg==&P2=MTAyNA==", "P=&P2=MTI4MA==", "P=&P2=MTI3OQ==", "P=&p2=NTEx",
        "P=&P2=ODAw", "P=&P2=LTM4NDA=", "P=&P2=&P1=ZzE=", "P=&P1=ZzE=&p189=3",
        "P=&P2=OTk5OTk5OTk5OTk5OTk5OTk5OTk5OTk5OTk5OTk5"})
    add(text, GamestringFormat::kNew);
  EXPECT_EQ(zones, "33t .0 .0 &0t .0 11t .0 11t 33t .0 33t .0 .0 .0 ");
  EXPECT_EQ(ZoneNumber('5') * 10 + ZoneNumber('6') + ZoneNumber('0') + ZoneNumber('/'), 50);
}

}  // namespace
}  // namespace ld
