#include "core/launch/member_id.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace ld {
namespace {

TEST(MemberId, RoundTripsAndRejectsWhatTheCheckByteDoesNotConfirm) {
  for (const std::string& id : {std::string("a"), std::string("someone@ludoria.com"),
                                std::string("\xB7\xE7\xB5\xE5 \xBD\xBA"),  // code page 949
                                std::string(70, 'x'),  // longer than the key table
                                std::string("\x01\x7F\x80\xFF")}) {
    const std::string hex = ScrambleMemberId(id);
    ASSERT_EQ(hex.size(), 2 * id.size() + 2) << id;
    EXPECT_EQ(UnscrambleMemberId(hex), id) << hex;
  }
  const std::string hex = ScrambleMemberId("gamer");
  EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos) << hex;
  std::string lower = hex;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(UnscrambleMemberId(lower), "gamer");
  // The same letter twice, or in ids of another length, must give another
  // byte: otherwise the scheme is a plain substitution.
  const std::string two = ScrambleMemberId("aa");
  EXPECT_NE(two.substr(0, 2), two.substr(2, 2));
  EXPECT_NE(ScrambleMemberId("a").substr(0, 2), ScrambleMemberId("ab").substr(0, 2));

  // Plain ids of non-hex letters read as zero digits would pass the check
  // (zero sum, zero check byte) and come out as key bytes.
  std::string wrong_check = hex, wrong_data = hex, non_hex = hex;
  wrong_check.back() = wrong_check.back() == '0' ? '1' : '0';
  wrong_data[0] = wrong_data[0] == '0' ? '1' : '0';
  non_hex[3] = 'g';
  for (const std::string& bad : {wrong_check, wrong_data, non_hex, hex.substr(1), std::string(),
                                 std::string("player"), std::string("01"), std::string("00"),
                                 std::string("\xB7\xE7\xB5\xE5"), std::string("zzzzzz")})
    EXPECT_EQ(UnscrambleMemberId(bad), "") << bad;
  // A scrambled NUL must not smuggle bytes past the end of the text.
  EXPECT_EQ(UnscrambleMemberId(ScrambleMemberId(std::string("a\0b", 3))), "a");
}

}  // namespace
}  // namespace ld
