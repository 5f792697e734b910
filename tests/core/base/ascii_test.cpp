#include "core/base/ascii.h"

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(AsciiCase, OnlyAsciiLettersFold) {
  struct Case {
    std::string_view a, b;
    bool equal;
  };
  const Case cases[] = {
      {"[SETUP_INSTALL]", "[setup_install]", true},
      {"Base2005", "base2005", true},
      {"", "", true},
      {"exe", "exe ", false},
      // '@' and '[' sit next to 'A' and 'Z'; '`' and '{' next to 'a' and 'z'.
      {"@[", "`{", false},
      // Code page 949 lead and trail bytes must never fold (a Latin-1 locale
      // would take 0xC1 and 0xE1 for one letter in two cases).
      {"\xC1\xA4", "\xE1\xA4", false},
      {"\xB0\xA1", "\xB0\xA1", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.equal, EqualsIgnoreAsciiCase(c.a, c.b)) << c.a << " / " << c.b;
  }
  EXPECT_EQ("http://host/\xC1", AsciiLowered("HTTP://Host/\xC1"));
}

TEST(AsciiCase, PrefixesNeedTheWholePrefix) {
  EXPECT_TRUE(StartsWithIgnoreAsciiCase("HTTP://a", "http://"));
  EXPECT_TRUE(StartsWithIgnoreAsciiCase("http://", "http://"));
  EXPECT_FALSE(StartsWithIgnoreAsciiCase("http:/", "http://"));
  EXPECT_FALSE(StartsWithIgnoreAsciiCase("", "h"));
  EXPECT_TRUE(StartsWithIgnoreAsciiCase("anything", ""));
}

}  // namespace
}  // namespace ld
