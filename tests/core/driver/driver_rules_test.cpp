#include "core/driver/driver_rules.h"
#include "core/driver/startup_rules.h"

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(StartupRules, CommandWordsLaunchStringAgeAndSession) {
  using Words = std::set<std::string>;
  EXPECT_EQ(CommandWords("x/nokind y /open_folder /nokind"), (Words{"nokind", "open_folder"}));
  // Only the text behind the address is scanned.
  EXPECT_EQ(CommandWords("/skip ludoria://P=&P0=a /bekind"), (Words{"bekind"}));
  EXPECT_EQ(CommandWords("a / b /"), Words{});
  EXPECT_TRUE(CommandWords("/bekind " + std::string(292, 'x')).empty());  // 300 bytes
  EXPECT_FALSE(CommandWords("/bekind " + std::string(291, 'x')).empty());

  CommandPlan both = PlanCommands({"bekind", "nokind"});
  EXPECT_FALSE(both.be_kind || both.no_kind);
  EXPECT_TRUE(PlanCommands({"nokind"}).no_kind && PlanCommands({"bekind"}).be_kind);
  CommandPlan open = PlanCommands({"open_folder"});
  EXPECT_TRUE(open.open_korean && open.open_ludoria);
  // Each word alone ends the program.
  for (const char* word :
       {"bekind", "nokind", "open_korean_folder", "open_ludoria_folder", "open_folder"})
    EXPECT_TRUE(PlanCommands({word}).any) << word;
  // {command line, launch string or nullptr for none}; after a quoted name
  // the closing quote is skipped and the blank stays.
  const char* cases[][2] = {{"\"C:\\a\\ld.exe\" ludoria://x", " ludoria://x"},
                            {"C:\\ld.exe", ""},
                            {"C:\\t\\ld.exe /clone ludoria://P=&P0=a", "ludoria://P=&P0=a"},
                            {"C:\\ld ludoria://x", nullptr}};
  for (const auto& c : cases) {
    std::string out;
    EXPECT_EQ(LaunchStringOfCommandLine(c[0], &out), c[1] != nullptr) << c[0];
    EXPECT_EQ(out, c[1] ? c[1] : "") << c[0];
  }
  EXPECT_TRUE(IsCloneRun("x.exe /clone ludoria://") && !IsCloneRun("x.exe /clone"));

  std::string ages;
  for (const char* text : {"a?k22e=STONEBAN&x=1", "a?k22e=GENERALS&ag=17", "a?k22e=GENERALS&ag=18",
                           "a?k22e=stoneban&ag=30", "a?x=1"})
    ages += std::to_string(AgeClass(text));
  EXPECT_EQ(ages, "22100");
  std::string s = "a?k1=b";
  EXPECT_TRUE(AppendSessionId(&s, ""));
  EXPECT_EQ(s, "a?k1=b&k410e=00000000-0000-0000-0000-000000000000");
  EXPECT_FALSE(AppendSessionId(&s, "1234"));
}

TEST(DriverRules, StatesAfterFileCheckAndFailureReporting) {
  // Bytes still to fetch per package (the game's first) -> folder and game-key states.
  std::string states;
  for (const std::vector<std::uint32_t>& bytes :
       {std::vector<std::uint32_t>{0, 0}, {5, 0}, {0, 0, 7}, {}}) {
    const InstallStates s = StatesAfterFileCheck({2, 2}, bytes);
    states += std::to_string(s.folder) + std::to_string(s.game_key) + " ";
  }
  EXPECT_EQ(states, "22 21 12 22 ");
  const InstallStates other = StatesAfterFileCheck({0, 3}, {9, 9});  // only "present" is corrected
  EXPECT_EQ(other.folder * 10 + other.game_key, 3u);
  EXPECT_EQ(PackageFailureStep("base2005"), "download.base2005");
  EXPECT_EQ(PackageFailureStep(std::string(80, 'p')).size(), kFailureStepMax);
  EXPECT_TRUE(ShowsFatalBox(true, false, false));
  EXPECT_FALSE(ShowsFatalBox(true, true, false) || ShowsFatalBox(true, false, true));
  EXPECT_EQ(SetupResultBit(0) | SetupResultBit(31) << 8, 0x102u);
}

}  // namespace
}  // namespace ld
