#include "core/driver/driver_rules.h"

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(DriverRules, StatesAfterFileCheck) {
  struct Case {
    InstallStates in;
    std::vector<std::uint32_t> bytes;
    std::uint32_t folder, game_key;
  } cases[] = {
      {{2, 2}, {0, 0}, 2, 2},     // complete
      {{2, 2}, {5, 0}, 2, 1},     // the game's files changed
      {{2, 2}, {0, 0, 7}, 1, 2},  // a base package's files changed
      {{2, 2}, {}, 2, 2},         // no package at all
      {{0, 3}, {9, 9}, 0, 3},     // only "present" is corrected
  };
  for (const Case& c : cases) {
    InstallStates out = StatesAfterFileCheck(c.in, c.bytes);
    EXPECT_EQ(out.folder, c.folder);
    EXPECT_EQ(out.game_key, c.game_key);
  }
}

TEST(DriverRules, FailureStepAndFatalBox) {
  EXPECT_EQ(PackageFailureStep("base2005"), "download.base2005");
  EXPECT_EQ(PackageFailureStep(std::string(80, 'p')).size(), kFailureStepMax);
  EXPECT_TRUE(ShowsFatalBox(true, false, false));
  EXPECT_FALSE(ShowsFatalBox(true, true, false));  // cancelled by the user
  EXPECT_FALSE(ShowsFatalBox(true, false, true));  // a box told it already
  EXPECT_FALSE(ShowsFatalBox(false, false, false));
  EXPECT_EQ(SetupResultBit(0), 2u);
  EXPECT_EQ(SetupResultBit(31), 1u);
}

}  // namespace
}  // namespace ld
