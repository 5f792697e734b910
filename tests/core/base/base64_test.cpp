#include "core/base/base64.h"

#include <gtest/gtest.h>

#include <string>

namespace ld {
namespace {

struct DecodeCase {
  const char* input;
  std::string expected;
};

TEST(Base64Decode, LenientGrammar) {
  const DecodeCase cases[] = {
      {"QUJD", "ABC"},
      {"QUI=", "AB"},
      {"QUI", "AB"},  // unpadded decodes like padded
      {"QQ==", "A"},
      {"QQ", "A"},
      {"Q", ""},  // one sextet fills no byte
      {"", ""},
      {"QU JD", "ABC"},      // blanks skipped
      {"QU\r\nJD", "ABC"},   // line breaks skipped
      {"=Q=U=J=D=", "ABC"},  // padding anywhere is skipped, not an end
      {"QU!J*D", "ABC"},     // other bytes skipped
      {"QUJDRA", "ABCD"},    // a short final group after a full one
      {"MTAyNA==", "1024"},
      {"Pz8/", "???"},           // '/' is 63
      {"+/+/", "\xfb\xff\xbf"},  // '+' is 62
      {"QQBC", "A"},             // a decoded NUL ends the value
      {"AAAA", ""},
      {"////", "\xff\xff\xff"},
      {"64yA7ZWc", "\xeb\x8c\x80\xed\x95\x9c"},  // UTF-8 bytes pass through
  };
  for (const DecodeCase& c : cases) {
    EXPECT_EQ(Base64Decode(c.input), c.expected) << "input '" << c.input << "'";
  }
}

TEST(Base64Decode, HighBytesInInputAreSkipped) {
  EXPECT_EQ(Base64Decode(std::string("QU\x80\xffJD")), "ABC");
  EXPECT_EQ(Base64Decode(std::string("QU\0JD", 5)), "ABC");
}

}  // namespace
}  // namespace ld
