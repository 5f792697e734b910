#include "core/launch/gamestring.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "core/launch/gamestring_edit.h"
#include "core/launch/gamestring_split.h"
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
  const char* pairs[][3] = {{"x?ak22e=1&k22e=2", "k22e=", "1"}, {"x?k22e=a=b&c", "k22e=", "a=b"},
                            {"x?k22e=&a=1", "k22e=", ""},       {"x?k22e", "k22e=", "-"},
                            {"P=&P189=3", "p189=", "-"},        {"abc", "", "-"}};
  for (const auto& p : pairs) {
    std::string value = "-";
    const std::size_t length = PairValue(p[0], p[1], &value);
    EXPECT_EQ(value + std::to_string(length), p[2] + std::to_string(*p[2] == '-' ? 0 : 5)) << p[0];
  }
  EXPECT_FALSE(HasPair("k22e", "u?k22e") || HasPair("k22e", "u?K22E=1") || HasPair("", "abc"));
}

TEST(Gamestring, NamedParametersGameIdsNumbersAndZones) {
  // {text, name, decoded value or "-" when not found}: ASCII case ignored,
  // the first match wins, the name must be followed by "=".
  const char* named[][3] = {{"ludoria://P=&P0=QUJD&P1=QUI", "P1", "AB"},
                            {"ludoria://P=&P0=QUJD", "p0", "ABC"},
                            {"ludoria://P=&P1=&P1=QUJD", "P1", ""},
                            {"ludoria://P=&P10=QUJD", "P1", "-"},
                            {"ludoria://P=&XP1=QUJD", "P1", "ABC"}};
  for (const auto& n : named) {
    bool found = false;
    const std::string value = NamedParameter(n[0], n[1], &found);
    EXPECT_EQ(found ? value : "-", n[2]) << n[0] << " / " << n[1];
  }
  EXPECT_EQ(GameIdOfGamestring("ludoria://h/a?k22e=StoneBan&x=1", GamestringFormat::kOld),
            "StoneBan");
  EXPECT_EQ(GameIdOfGamestring("ludoria://P=&P1=U3RvbmVCYW4=", GamestringFormat::kNew), "StoneBan");
  EXPECT_EQ(NamedParameter("P1=QUJD", "P1"), "ABC");  // the flag is optional

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

using SplitCase = std::pair<std::string, GamestringParts>;
TEST(Gamestring, SplitSetAndRemovePairs) {
  const SplitCase cases[] = {
      {"a=1&a=2", {{"a", "2"}}},  // a later equal key replaces
      {"P=&P0=QQ==&P1=QUI=", {{"P", ""}, {"P0", "QQ=="}, {"P1", "QUI="}}},
      {"a=b=c&d=1", {{"a", "b=c"}, {"d", "1"}}},
      {"a=1&&b=2", {{"a", "1"}, {"&b", "2"}}}  // the part's first byte is never its "="
  };
  for (const SplitCase& c : cases) EXPECT_EQ(SplitByAmpersand(c.first), c.second) << c.first;

  const SplitCase by_length[] = {
      {"k3e:3=a&b&k93e:2=xy", {{"k3e", "a&b"}, {"k93e", "xy"}}},
      {"k93e:9=a=b:c&d=e&k60e:1=n", {{"k93e", "a=b:c&d=e"}, {"k60e", "n"}}},
      {"k3e:1=a&k3e:1=b", {{"k3e", "b"}}},  // duplicate keys: the later wins
      // No digits: length 0, so "a" is the separator and "b" starts the next key.
      {"k3e:x=ab&k60e:1=n", {{"k3e", ""}, {"b&k60e", "n"}}},
      // Lengths beyond the end take what is there and stop.
      {"k3e:99999999999999999999=abc", {{"k3e", "abc"}}},
      // A negative length counts as 0 and the scan still moves forward.
      {"k3e:-5=abc&k60e:1=n", {{"k3e", ""}, {"bc&k60e", "n"}}},
      // No ":" before "=": read as an ampersand pair.
      {"plain=v&k60e:1=n", {{"plain", "v"}, {"k60e", "n"}}},
      {"k3e:1=a&plain=v", {{"k3e", "a"}, {"plain", "v"}}},  // no borrowing of an earlier ":"
      {"=", {{"", ""}}},
      {":1=a", {{":1", "a"}}},                   // no key byte before ":"
      {"k:=a&b:1=c", {{"k:", "a"}, {"b", "c"}}}  // no length byte between ":" and "="
  };
  for (const SplitCase& c : by_length) EXPECT_EQ(SplitByLength(c.first), c.second) << c.first;
  // A value ending exactly at the end of a view that goes on in memory.
  EXPECT_EQ(SplitByLength(std::string_view("k3e:5=abcde").substr(0, 8)),
            (GamestringParts{{"k3e", "ab"}}));

  // {text, key, value, anchor, result, text after}
  constexpr SetPairResult kR = SetPairResult::kReplaced, kI = SetPairResult::kInserted,
                          kA = SetPairResult::kAppended;
  const std::tuple<const char*, const char*, const char*, const char*, SetPairResult, const char*>
      set[] = {// Replaced: start, middle, end, followed by a blank.
               {"zz=1&P0=a", "zz", "2", "", kR, "zz=2&P0=a"},
               {"ludoria://P=&P0=a&zz=1&P1=b", "zz", "2", "", kR, "ludoria://P=&P0=a&zz=2&P1=b"},
               {"u?a=1&zz=1 tail", "zz", "2", "", kR, "u?a=1&zz=2 tail"},
               // Another key that starts with the same letters is not the key.
               {"u?zz1=0&zz=5", "zz", "2", "", kR, "u?zz1=0&zz=2"},
               // Inserted behind the anchor's pair, or behind the P marker.
               {"ludoria://P=&P0=a", "zz", "2", "", kI, "ludoria://P=&zz=2&P0=a"},
               {"u?k22e=G&k3e=m", "k300e", "T", "k22e", kI, "u?k22e=G&k300e=T&k3e=m"},
               // Appended when neither key nor anchor is there.
               {"", "zz", "2", "", kA, "zz=2"},
               {"u?a=1", "zz", "2", "k22e", kA, "u?a=1&zz=2"}};
  for (const auto& [before, key, value, anchor, result, after] : set) {
    std::string text = before;
    EXPECT_EQ(SetPair(text, key, value, anchor), result) << before;
    EXPECT_EQ(text, after) << before;
  }

  // {text, pair, removed, text after}
  const std::tuple<const char*, const char*, bool, const char*> removals[] = {
      {"u?k22e=X", "k22e", true, "u?"},                         // the "?" stays
      {"u?a=1&k22e=X", "k22e", true, "u?a=1"},                  // last: the "&" before it goes
      {"u?k22e=X&a=1", "k22e", true, "u?a=1"},                  // first: the "&" behind it goes
      {"k22e=X&a=1", "k22e", true, "a=1"},                      // at the very start
      {"u?ak22e=1&k22e=2", "k22e", false, "u?ak22e=1&k22e=2"},  // later ones not tried
      {"u?a=1&k22e", "k22e", true, "u?a=1"}                     // key without "="
  };
  for (const auto& [before, pair, removed, after] : removals) {
    std::string text = before;
    EXPECT_EQ(RemovePair(text, pair), removed) << before;
    EXPECT_EQ(text, after) << before;
  }
}

}  // namespace
}  // namespace ld
