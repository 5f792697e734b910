#include <gtest/gtest.h>

#include <string>

#include "core/base/ascii.h"
#include "core/base/base64.h"
#include "core/base/url_encode.h"

namespace ld {
namespace {

TEST(Encoding, Base64DecodeIsLenient) {
  const std::pair<std::string, std::string> cases[] = {
      {"QUJD", "ABC"},
      {"QUI", "AB"},  // unpadded decodes like padded
      {"QQ==", "A"},
      {"Q", ""},                 // one sextet fills no byte
      {"=Q=U J\r\n!D*", "ABC"},  // blanks, padding and other bytes anywhere are skipped
      {"QU\x80\xff", "A"},       // so are bytes above ASCII
      {std::string("QU\0JD", 5), "ABC"},
      {"QUJDRA", "ABCD"},        // a short final group after a full one
      {"+/9z", "\xfb\xff\x73"},  // '+' is 62, '/' 63, '9' 61, 'z' 51
      {"AZa0", "\x01\x96\xB4"},  // the ends of the letter ranges
      {"QQBC", "A"},             // a decoded NUL ends the value
  };
  for (const auto& c : cases) EXPECT_EQ(Base64Decode(c.first), c.second) << "'" << c.first << "'";
}

TEST(Encoding, UrlEncodeAndAsciiCase) {
  const std::pair<std::string, std::string> cases[] = {
      {"a b", "a+b"},
      {"me@AZaz09.com", "me@AZaz09.com"},
      {"-_~&=/?%+", "%2D%5F%7E%26%3D%2F%3F%25%2B"},  // not even the usual unreserved marks stay
      {std::string("\0\x1F\x7F", 3), "%00%1F%7F"},
      {"\xB7\xE7", "%B7%E7"},  // every byte above ASCII, upper-case digits
  };
  for (const auto& c : cases) EXPECT_EQ(UrlEncode(c.first), c.second) << c.first;
  std::string out = "kept";
  EXPECT_FALSE(UrlEncodeBounded("\xB7\xE7", 5, &out));  // needs 6
  EXPECT_EQ(out, "kept");
  EXPECT_TRUE(UrlEncodeBounded("\xB7\xE7", 6, &out));
  EXPECT_EQ(out, "%B7%E7");

  EXPECT_TRUE(EqualsIgnoreAsciiCase("[SETUP_INSTALL]", "[setup_install]"));
  // '@' and '[' sit next to 'A' and 'Z', '`' and '{' next to 'a' and 'z'. Code
  // page 949 lead bytes never fold (a Latin-1 locale would take 0xC1 and 0xE1
  // for one letter in two cases).
  EXPECT_FALSE(EqualsIgnoreAsciiCase("exe", "exe ") || EqualsIgnoreAsciiCase("@[", "`{") ||
               EqualsIgnoreAsciiCase("\xC1\xA4", "\xE1\xA4"));
  EXPECT_EQ("http://host/\xC1", AsciiLowered("HTTP://Host/\xC1"));
  EXPECT_TRUE(StartsWithIgnoreAsciiCase("HTTP://a", "http://") &&
              StartsWithIgnoreAsciiCase("http://", "http://"));
  EXPECT_FALSE(StartsWithIgnoreAsciiCase("http:/", "http://"));
}

}  // namespace
}  // namespace ld
