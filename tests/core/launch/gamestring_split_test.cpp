#include "core/launch/gamestring_split.h"

#include <gtest/gtest.h>

#include <string>

namespace ld {
namespace {

using SplitCase = std::pair<std::string, GamestringParts>;
TEST(GamestringSplit, ByAmpersandAndByLength) {
  const SplitCase cases[] = {
      {"a=1&a=2", {{"a", "2"}}},  // a later equal key replaces
      {"k22e=G&lang=KOREAN", {{"k22e", "G"}, {"lang", "KOREAN"}}},
      {"P=&P0=QQ==&P1=QUI=", {{"P", ""}, {"P0", "QQ=="}, {"P1", "QUI="}}},
      {"a=b=c&d=1", {{"a", "b=c"}, {"d", "1"}}},
      {"a=1&&b=2", {{"a", "1"}, {"&b", "2"}}},  // the part's first byte is never its "="
      {"flag&b=2", {{"flag&b", "2"}}},
      {"noequals", {}},
      {"", {}},
      {"a=1&", {{"a", "1"}}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(SplitByAmpersand(c.first), c.second) << c.first;

  const SplitCase by_length[] = {
      {"k3e:3=a&b&k93e:2=xy", {{"k3e", "a&b"}, {"k93e", "xy"}}},
      {"k93e:9=a=b:c&d=e&k60e:1=n", {{"k93e", "a=b:c&d=e"}, {"k60e", "n"}}},
      {"k3e:1=a&k3e:1=b", {{"k3e", "b"}}},                  // duplicate keys: the later wins
      {"k3e:1=a;k60e:1=n", {{"k3e", "a"}, {"k60e", "n"}}},  // the separator is not checked
      {"k3e: 2=ab", {{"k3e", "ab"}}},                       // white space before the number
      // No digits: length 0, so "a" is the separator and "b" starts the next key.
      {"k3e:x=ab&k60e:1=n", {{"k3e", ""}, {"b&k60e", "n"}}},
      // Lengths beyond the end take what is there and stop.
      {"k3e:99=abc", {{"k3e", "abc"}}},
      {"k3e:99999999999999999999=abc", {{"k3e", "abc"}}},
      {"k3e:4=abc", {{"k3e", "abc"}}},
      // A negative length counts as 0 and the scan still moves forward.
      {"k3e:-5=abc&k60e:1=n", {{"k3e", ""}, {"bc&k60e", "n"}}},
      // No ":" before "=": read as an ampersand pair.
      {"plain=v&k60e:1=n", {{"plain", "v"}, {"k60e", "n"}}},
      {":1=a", {{":1", "a"}}},                              // no key byte before ":"
      {"k3e:1=a&plain=v", {{"k3e", "a"}, {"plain", "v"}}},  // no borrowing of an earlier ":"
      {"=", {{"", ""}}},
      {"k:=a&b:1=c", {{"k:", "a"}, {"b", "c"}}},  // no length byte between ":" and "="
  };
  for (const SplitCase& c : by_length) EXPECT_EQ(SplitByLength(c.first), c.second) << c.first;
  // A value ending exactly at the end of a view that goes on in memory.
  EXPECT_EQ(SplitByLength(std::string_view("k3e:5=abcde").substr(0, 8)),
            (GamestringParts{{"k3e", "ab"}}));
}

}  // namespace
}  // namespace ld
