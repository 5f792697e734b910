#include "core/launch/gamestring.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace ld {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

TEST(Gamestring, FormatFromCommandLine) {
  EXPECT_EQ(FormatOfCommandLine("\"C:\\ld\\ldstarter.exe\" ludoria://P=&P0=QQ"),
            GamestringFormat::kNew);
  EXPECT_EQ(FormatOfCommandLine("x ludoria://P=&"), GamestringFormat::kNew);
  EXPECT_EQ(FormatOfCommandLine("ludoria://p=&P0=QQ"), GamestringFormat::kOld);  // case counts
  EXPECT_EQ(FormatOfCommandLine("ludoria://P=1&P0=QQ"), GamestringFormat::kOld);
  EXPECT_EQ(FormatOfCommandLine("ludoria://host/a?P=&"), GamestringFormat::kOld);
  EXPECT_EQ(FormatOfCommandLine(""), GamestringFormat::kOld);
}

TEST(Gamestring, SkipPrefix) {
  struct {
    const char* text;
    std::size_t expected;
  } const cases[] = {
      {"ludoria://abc", 10},
      {"xx ludoria://abc", 13},      // not only at the start
      {"ludoria://ludoria://", 10},  // the first occurrence
      {"ludoria:/abc", kNone},       // missing prefix
      {"LUDORIA://abc", kNone},      // case-sensitive
      {"ludoria://", 10},            // nothing behind it
      {"", kNone},
  };
  for (const auto& c : cases) EXPECT_EQ(SkipPrefix(c.text, kAddressPrefix), c.expected) << c.text;
}

TEST(Gamestring, PairValue) {
  struct {
    const char* text;
    const char* pair;
    std::size_t result;
    const char* value;  // nullptr: output untouched
  } const cases[] = {
      {"x?ak22e=1&k22e=2", "k22e=", 5, "1"},  // first occurrence, even inside a key
      {"x?k22e=ABC", "k22e=", 5, "ABC"},      // runs to the end
      {"x?k22e=&a=1", "k22e=", 5, ""},        // empty value
      {"x?k22e=a=b&c", "k22e=", 5, "a=b"},
      {"x?k22e", "k22e=", 0, nullptr},
      {"P=&P189=3", "p189=", 0, nullptr},  // case-sensitive
      {"P=&P189=3", "P189=", 5, "3"},
      {"k22e=", "k22e=", 5, ""},  // value at the very end
      {"abc", "", 0, nullptr},
  };
  for (const auto& c : cases) {
    std::string out = "untouched";
    EXPECT_EQ(PairValue(c.text, c.pair, &out), c.result) << c.text << " / " << c.pair;
    EXPECT_EQ(out, c.value ? c.value : "untouched") << c.text << " / " << c.pair;
    EXPECT_EQ(PairValue(c.text, c.pair), c.result);
  }
}

TEST(Gamestring, AnalysisValue) {
  struct {
    const char* text;
    const char* key;
    const char* expected;
  } const cases[] = {
      {"k93e:5=Stone&k89e:3=abc", "k93e:", "Stone"},
      {"k93e:5=Stone&k89e:3=abc", "k89e:", "abc"},
      {"k3e:3=a&b&k93e:2=xy", "k3e", "a"},     // the length is ignored: cut at "&"
      {"k93e:9=a=b:c&d=e", "k93e:", "a=b:c"},  // "=" and ":" inside stay
      {"k93e:0=&k89e:1=z", "k93e:", ""},
      {"k93e:5", "k93e:", ""},            // no "=" behind the key
      {"k93e:5&k89e:1=z", "k93e:", "z"},  // the first "=" behind it, wherever
      {"a=1", "k93e:", ""},
      {"xk3e:1=q", "k3e", "q"},
      {"k93e:3=abc", "", "abc"},  // empty key: the first value
  };
  for (const auto& c : cases)
    EXPECT_EQ(AnalysisValue(c.text, c.key), c.expected) << c.text << " / " << c.key;
}

TEST(Gamestring, NamedParameter) {
  struct {
    const char* text;
    const char* name;
    bool found;
    const char* expected;
  } const cases[] = {
      {"ludoria://P=&P0=QUJD&P1=QUI", "P1", true, "AB"},
      {"ludoria://P=&P0=QUJD", "p0", true, "ABC"},   // ASCII case ignored
      {"ludoria://P=&P1=&P1=QUJD", "P1", true, ""},  // first match wins
      {"ludoria://P=&P10=QUJD", "P1", false, ""},    // "P1" must be followed by "="
      {"ludoria://P=&XP1=QUJD", "P1", true, "ABC"},  // may lie inside a longer key
      {"ludoria://P=&P1", "P1", false, ""},          // name at the very end
      {"shutdown=MjAyNg==&a=1", "SHUTDOWN", true, "2026"},
      {"", "P1", false, ""},
  };
  for (const auto& c : cases) {
    bool found = !c.found;
    EXPECT_EQ(NamedParameter(c.text, c.name, &found), c.expected) << c.text << " / " << c.name;
    EXPECT_EQ(found, c.found) << c.text << " / " << c.name;
  }
  EXPECT_EQ(NamedParameter("P1=QUJD", "P1"), "ABC");  // the flag is optional
}

TEST(Gamestring, HasPair) {
  EXPECT_TRUE(HasPair("k22e", "u?k22e=1"));
  EXPECT_TRUE(HasPair("k22e", "u?xk22e=1"));
  EXPECT_FALSE(HasPair("k22e", "u?k22e"));
  EXPECT_FALSE(HasPair("k22e", "u?K22E=1"));
  EXPECT_TRUE(HasPair("", "a=1"));  // empty key: any "="
  EXPECT_FALSE(HasPair("", "abc"));
}

TEST(Gamestring, GameIdOfGamestring) {
  EXPECT_EQ(GameIdOfGamestring("ludoria://h/a?k22e=StoneBan&x=1", GamestringFormat::kOld),
            "StoneBan");
  EXPECT_EQ(GameIdOfGamestring("ludoria://h/a?x=1", GamestringFormat::kOld), "");
  EXPECT_EQ(GameIdOfGamestring("ludoria://P=&P1=U3RvbmVCYW4=", GamestringFormat::kNew), "StoneBan");
  EXPECT_EQ(GameIdOfGamestring("ludoria://P=&k22e=X", GamestringFormat::kNew), "");
}

TEST(Gamestring, LeadingInt) {
  struct {
    const char* text;
    int expected;
  } const cases[] = {
      {"  42abc", 42},
      {"\t-7", -7},
      {"+3", 3},
      {"", 0},
      {"abc", 0},
      {"- 3", 0},
      {"2147483648", INT_MAX},
      {"-99999999999999999999", INT_MIN},
      {"99999999999999999999", INT_MAX},
  };
  for (const auto& c : cases) EXPECT_EQ(LeadingInt(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace ld
