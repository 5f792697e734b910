#include "core/self_update/self_update_rules.h"

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(SelfUpdateRules, ProgramFileNameAndCloneArguments) {
  std::string name;
  EXPECT_TRUE(ProgramFileName("C:\\Users\\u\\LdStarter.EXE", &name));
  EXPECT_EQ(name, "ldstarter.exe");
  EXPECT_FALSE(ProgramFileName("ldstarter.exe", &name));
  EXPECT_FALSE(ProgramFileName("C:\\dir\\", &name));

  std::string args;
  EXPECT_TRUE(CloneArguments("\"C:\\x\\ldstarter.exe\" ludoria://P=&P0=a /y", &args));
  EXPECT_EQ(args, "/clone ludoria://P=&P0=a /y");
  EXPECT_FALSE(CloneArguments("\"C:\\x\\ldstarter.exe\" gs?k22e=a", &args));
}

}  // namespace
}  // namespace ld
