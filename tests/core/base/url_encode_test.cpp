#include "core/base/url_encode.h"

#include <gtest/gtest.h>

#include <string>

namespace ld {
namespace {

TEST(UrlEncode, Table) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"", ""},
      {"a b", "a+b"},
      {"me@ludoria.com", "me@ludoria.com"},
      {"AZaz09", "AZaz09"},
      {"-_~", "%2D%5F%7E"},  // not even the usual unreserved marks stay
      {"a&b=c/d?e%f+g", "a%26b%3Dc%2Fd%3Fe%25f%2Bg"},
      {std::string("\0\x1F\x7F", 3), "%00%1F%7F"},
      // Korean letters as code page 949 bytes: every byte escaped, upper case.
      {"\xB7\xE7\xB5\xE5", "%B7%E7%B5%E5"},
      // The same letters in UTF-8: three escapes each.
      {"\xEB\xA3\xA8\xEB\x93\x9C", "%EB%A3%A8%EB%93%9C"},
  };
  for (const Case& c : cases) EXPECT_EQ(UrlEncode(c.in), c.out) << c.in;
}

TEST(UrlEncode, BoundedFailsWithoutTouchingOutput) {
  std::string out = "kept";
  EXPECT_FALSE(UrlEncodeBounded("\xB7\xE7", 5, &out));  // needs 6
  EXPECT_EQ(out, "kept");
  EXPECT_TRUE(UrlEncodeBounded("\xB7\xE7", 6, &out));
  EXPECT_EQ(out, "%B7%E7");
}

}  // namespace
}  // namespace ld
