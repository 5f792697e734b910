#include "core/self_update/version_info.h"

#include <gtest/gtest.h>

#include "core/self_update/self_update_rules.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

std::string Describe(const PublishedVersion& v) {  // "1.2.3.4. word R"
  std::string text;
  for (int part : v.parts) text += std::to_string(part) + ".";
  return text + " " + v.order_word + (v.rollback ? " R" : "");
}

TEST(VersionInfo, ParsesVersionAndOrderWord) {
  const std::string cases[][2] = {
      {"1.2.3.4\tROLLBACK\n", "1.2.3.4. ROLLBACK R"},
      {"1.2.3.4 rollbacks", "1.2.3.4. rollbacks"},
      {"  10. 20.+30.-1 x", "10.20.30.-1. x"},
      {"1.x.3.4 rollback", "1.0.0.0. "},  // reading stops at x
      {std::string("1.2.3.4rollback\0zz", 18), "1.2.3.4. rollback R"},
      {"99999999999.2.3.4", "2147483647.2.3.4. "},
  };
  for (const auto& c : cases) EXPECT_EQ(Describe(ParseVersionInfo(c[0])), c[1]) << c[0];
  const PublishedVersion v = ParseVersionInfo("9.9.9.9 " + std::string(31, 'w') + "rollback");
  EXPECT_TRUE(v.order_word.size() <= kOrderWordMax && !v.rollback);
  EXPECT_EQ(VersionText(ParseVersionInfo("12345.12345.12345.12345")), "12345.12345.123");
}

TEST(VersionInfo, UpdateDecisionOnPackedParts) {
  // published, own, update?: each part counts modulo 65536, the high half first.
  const std::string cases[][3] = {
      {"1.2.3.4", "1.2.3.4", "0"},          {"1.2.3.4 rollback", "1.2.3.4", "0"},
      {"1.2.3.3 ROLLBACK", "1.2.3.4", "1"}, {"1.3.0.0", "1.2.65535.65535", "1"},
      {"1.1.65535.65535", "1.2.0.0", "0"},  {"1.2.65536.4", "01.2.0.4", "0"},
      {"1.1.3.4 rollback", "1.2.3.4", "1"}, {"1.2.3.4 rollback", "1.2.3.5", "1"},
  };
  for (const auto& c : cases) {
    PackedVersion own;
    EXPECT_TRUE(ParseDottedVersion(c[1], &own)) << c[1];
    EXPECT_EQ(NeedsUpdate(ParseVersionInfo(c[0]), own), c[2] == "1") << c[0] << " / " << c[1];
  }
  PackedVersion v{7, 7};
  for (const char* bad : {"65536.0.0.0", "1.2.3", "1.2.3.4.5", "1.2.3.4 ", " 1.2.3.4", "1..3.4",
                          "-1.2.3.4", "", "99999999999999999999.0.0.0"})
    EXPECT_FALSE(ParseDottedVersion(bad, &v) || v.high != 7) << bad;
}

using VersionInfoFileTest = test::TempDirTest;

TEST_F(VersionInfoFileTest, ReadsTheFile) {
  PublishedVersion v;
  EXPECT_FALSE(ReadVersionInfoFile(Path("missing.dat"), &v));
  ASSERT_TRUE(ReadVersionInfoFile(Write("v.dat", "3.1.4.1 Rollback\r\n"), &v));
  EXPECT_EQ(Describe(v), "3.1.4.1. Rollback R");
  EXPECT_EQ(v.packed.high, 0x00030001u);
  ASSERT_TRUE(ReadVersionInfoFile(Write("empty.dat", ""), &v));  // an empty file is no update
  EXPECT_EQ(VersionText(v), "0.0.0.0");
}

TEST(SelfUpdateRules, ProgramFileNameAndCloneArguments) {
  std::string name, args, unused;
  EXPECT_TRUE(ProgramFileName("C:\\Users\\u\\LdStarter.EXE", &name));
  EXPECT_FALSE(ProgramFileName("ldstarter.exe", &unused) || ProgramFileName("C:\\dir\\", &unused));
  EXPECT_TRUE(CloneArguments("\"C:\\x\\ldstarter.exe\" ludoria://P=&P0=a /y", &args));
  EXPECT_FALSE(CloneArguments("\"C:\\x\\ldstarter.exe\" gs?k22e=a", &unused));
  EXPECT_EQ(name + "|" + args, "ldstarter.exe|/clone ludoria://P=&P0=a /y");
}

}  // namespace
}  // namespace ld
