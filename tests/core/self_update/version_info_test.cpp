#include "core/self_update/version_info.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/core/support/test_support.h"

namespace ld {
namespace {

PackedVersion Own(const char* dotted) {
  PackedVersion v;
  EXPECT_TRUE(ParseDottedVersion(dotted, &v)) << dotted;
  return v;
}

TEST(VersionInfoTest, ParsesVersionAndOrderWord) {
  const struct {
    std::string text;
    int parts[4];
    const char* word;
    bool rollback;
  } kCases[] = {
      {"1.2.3.4", {1, 2, 3, 4}, "", false},
      {"1.2.3.4 rollback", {1, 2, 3, 4}, "rollback", true},
      {"1.2.3.4\tROLLBACK\n", {1, 2, 3, 4}, "ROLLBACK", true},
      {"1.2.3.4\r\nRollBack trailing words", {1, 2, 3, 4}, "RollBack", true},
      {"1.2.3.4 rollbacks", {1, 2, 3, 4}, "rollbacks", false},
      {"1.2.3.4 roll back", {1, 2, 3, 4}, "roll", false},
      {"  10. 20.+30.-1 x", {10, 20, 30, -1}, "x", false},
      {"", {0, 0, 0, 0}, "", false},
      {"1.2", {1, 2, 0, 0}, "", false},
      {"1.x.3.4 rollback", {1, 0, 0, 0}, "", false},  // reading stops at x
      {"1 .2.3.4", {1, 0, 0, 0}, "", false},          // no blank before a dot
      {"1.2.3.4rollback", {1, 2, 3, 4}, "rollback", true},
      {"9.9.9.9 " + std::string(31, 'w') + "rollback", {9, 9, 9, 9}, nullptr, false},
      {std::string("1.2.3.4 rollback\0zz", 19), {1, 2, 3, 4}, "rollback", true},
      {"99999999999.2.3.4", {2147483647, 2, 3, 4}, "", false},
  };
  for (const auto& c : kCases) {
    const PublishedVersion v = ParseVersionInfo(c.text);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(v.parts[i], c.parts[i]) << c.text << " part " << i;
    if (c.word != nullptr) {
      EXPECT_EQ(v.order_word, c.word) << c.text;
    }
    EXPECT_LE(v.order_word.size(), kOrderWordMax);
    EXPECT_EQ(v.rollback, c.rollback) << c.text;
  }
}

TEST(VersionInfoTest, PacksEachPartModulo65536) {
  const struct {
    int a, b, c, d;
    uint32_t high, low;
  } kCases[] = {
      {1, 2, 3, 4, 0x00010002u, 0x00030004u},
      {65535, 65535, 65535, 65535, 0xFFFFFFFFu, 0xFFFFFFFFu},
      {65536, 65537, 0, 1, 0x00000001u, 0x00000001u},
      {-1, 0, 0, -2, 0xFFFF0000u, 0x0000FFFEu},
  };
  for (const auto& c : kCases) {
    const PackedVersion p = PackVersion(c.a, c.b, c.c, c.d);
    EXPECT_EQ(p.high, c.high);
    EXPECT_EQ(p.low, c.low);
  }
}

TEST(VersionInfoTest, UpdateDecision) {
  const struct {
    const char* file;
    const char* own;
    bool update;
  } kCases[] = {
      {"1.2.3.4", "1.2.3.4", false},
      {"1.2.3.4 rollback", "1.2.3.4", false},
      {"1.2.3.3 ROLLBACK", "1.2.3.4", true},
      {"1.2.3.3", "1.2.3.4", false},
      {"1.2.3.5 anything", "1.2.3.4", true},
      {"1.2.3.5 rollback", "1.2.3.4", true},
      {"", "1.2.3.4", false},
      {"1.3.0.0", "1.2.65535.65535", true},   // the high half decides first
      {"1.1.65535.65535", "1.2.0.0", false},  // a larger low half cannot win
      {"1.2.65536.4", "1.2.0.4", false},      // modulo 65536: equal
      {"1.2.65539.4", "1.2.2.4", true},       // 3 > 2 after the modulo
      {"1.2.3.4 rollback", "1.2.3.5", true},
      {"1.1.3.4 rollback", "1.2.3.4", true},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(NeedsUpdate(ParseVersionInfo(c.file), Own(c.own)), c.update)
        << "'" << c.file << "' against " << c.own;
  }
}

TEST(VersionInfoTest, VersionTextStaysWithinItsLimit) {
  EXPECT_EQ(VersionText(ParseVersionInfo("1.2.3.4 rollback")), "1.2.3.4");
  EXPECT_EQ(VersionText(ParseVersionInfo("")), "0.0.0.0");
  EXPECT_EQ(VersionText(ParseVersionInfo("12345.12345.12345.12345")), "12345.12345.123");
  EXPECT_EQ(VersionText(ParseVersionInfo("-2147483648.1.1.1")).size(), kVersionTextMax);
}

TEST(VersionInfoTest, DottedVersionIsStrict) {
  const struct {
    const char* text;
    bool ok;
    uint32_t high, low;
  } kCases[] = {
      {"1.2.3.4", true, 0x00010002u, 0x00030004u},
      {"65535.0.0.65535", true, 0xFFFF0000u, 0x0000FFFFu},
      {"01.002.0003.4", true, 0x00010002u, 0x00030004u},
      {"65536.0.0.0", false, 0, 0},
      {"1.2.3", false, 0, 0},
      {"1.2.3.4.5", false, 0, 0},
      {"1.2.3.4 ", false, 0, 0},
      {" 1.2.3.4", false, 0, 0},
      {"1..3.4", false, 0, 0},
      {"1,2.3.4", false, 0, 0},
      {"-1.2.3.4", false, 0, 0},
      {"", false, 0, 0},
      {"99999999999999999999.0.0.0", false, 0, 0},
  };
  for (const auto& c : kCases) {
    PackedVersion v{7, 7};
    EXPECT_EQ(ParseDottedVersion(c.text, &v), c.ok) << c.text;
    EXPECT_EQ(v.high, c.ok ? c.high : 7u) << c.text;
    EXPECT_EQ(v.low, c.ok ? c.low : 7u) << c.text;
  }
}

using VersionInfoFileTest = test::TempDirTest;

TEST_F(VersionInfoFileTest, ReadsTheFileAndAnEmptyOneMeansNoUpdate) {
  PublishedVersion v;
  ASSERT_TRUE(ReadVersionInfoFile(Write("v.dat", "3.1.4.1 Rollback\r\n"), &v));
  EXPECT_EQ(v.packed.high, 0x00030001u);
  EXPECT_EQ(v.packed.low, 0x00040001u);
  EXPECT_TRUE(v.rollback);

  PublishedVersion untouched;
  untouched.parts[0] = 42;
  EXPECT_FALSE(ReadVersionInfoFile(Path("missing.dat"), &untouched));
  EXPECT_EQ(untouched.parts[0], 42);

  PublishedVersion empty;
  ASSERT_TRUE(ReadVersionInfoFile(Write("empty.dat", ""), &empty));
  EXPECT_FALSE(NeedsUpdate(empty, Own("0.0.0.1")));
  EXPECT_EQ(VersionText(empty), "0.0.0.0");
}

}  // namespace
}  // namespace ld
