#include "core/launch/member_id.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace ld {
namespace {

TEST(MemberId, RoundTrips) {
  const std::string ids[] = {
      "a",
      "player01",
      "someone@ludoria.com",
      "\xB7\xE7\xB5\xE5 \xBD\xBA",  // Korean letters in code page 949
      std::string(70, 'x'),         // longer than the key table
      "\x01\x7F\x80\xFF",
  };
  for (const std::string& id : ids) {
    const std::string hex = ScrambleMemberId(id);
    ASSERT_EQ(hex.size(), 2 * id.size() + 2) << id;
    EXPECT_EQ(UnscrambleMemberId(hex), id) << hex;
  }
}

TEST(MemberId, ScrambledFormIsUpperHexAndAcceptsLowerCase) {
  const std::string hex = ScrambleMemberId("gamer");
  EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos) << hex;
  std::string lower = hex;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(UnscrambleMemberId(lower), "gamer");
}

TEST(MemberId, MaskDependsOnPositionAndLength) {
  // Same letter twice must not give the same byte twice, and the same
  // letter in ids of different length must differ: both would make the
  // scheme a plain substitution.
  const std::string two = ScrambleMemberId("aa");
  EXPECT_NE(two.substr(0, 2), two.substr(2, 2));
  EXPECT_NE(ScrambleMemberId("a").substr(0, 2), ScrambleMemberId("ab").substr(0, 2));
}

TEST(MemberId, RejectsWhatTheCheckByteDoesNotConfirm) {
  const std::string hex = ScrambleMemberId("player01");
  std::string wrong_check = hex;
  wrong_check.back() = wrong_check.back() == '0' ? '1' : '0';
  std::string wrong_data = hex;
  wrong_data[0] = wrong_data[0] == '0' ? '1' : '0';

  struct Case {
    std::string input;
    const char* why;
  } cases[] = {
      {wrong_check, "check byte changed"},
      {wrong_data, "data changed"},
      {hex.substr(1), "odd length"},
      {"", "empty"},
      {"player", "plain id"},
      {"01", "check byte only, nonzero"},
      {"00", "check byte only"},
  };
  for (const Case& c : cases) EXPECT_EQ(UnscrambleMemberId(c.input), "") << c.why;
}

TEST(MemberId, PlainIdsOfNonHexLettersAreNotTakenForScrambledOnes) {
  // Read as zero digits, these would pass the check (zero sum, zero check
  // byte) and come out as key bytes.
  EXPECT_EQ(UnscrambleMemberId("\xB7\xE7\xB5\xE5"), "");  // two Korean letters
  EXPECT_EQ(UnscrambleMemberId("zzzzzz"), "");
  std::string hex = ScrambleMemberId("gamer");
  hex[3] = 'g';
  EXPECT_EQ(UnscrambleMemberId(hex), "");
}

TEST(MemberId, PlainResultEndsAtNulByte) {
  // The portal never sends one, but a scrambled NUL must not smuggle bytes
  // past the end of the text.
  const std::string hex = ScrambleMemberId(std::string("a\0b", 3));
  EXPECT_EQ(UnscrambleMemberId(hex), "a");
}

}  // namespace
}  // namespace ld
