#include "core/driver/startup_rules.h"

#include <string>

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(CommandWords, ScanAndTailLimit) {
  using Words = std::set<std::string>;
  EXPECT_EQ(CommandWords("/bekind /bekind"), (Words{"bekind"}));
  EXPECT_EQ(CommandWords("x/nokind y /open_folder"), (Words{"nokind", "open_folder"}));
  // Only the text behind the address is scanned.
  EXPECT_EQ(CommandWords("/skip ludoria://P=&P0=a /bekind"), (Words{"bekind"}));
  EXPECT_EQ(CommandWords("/"), Words{});
  EXPECT_EQ(CommandWords("a / b"), Words{});
  const std::string long_tail = "/bekind " + std::string(292, 'x');
  ASSERT_EQ(long_tail.size(), 300u);
  EXPECT_TRUE(CommandWords(long_tail).empty());
  EXPECT_FALSE(CommandWords(long_tail.substr(0, 299)).empty());
}

TEST(CommandWords, PlanKeepsKindWordsApart) {
  CommandPlan both = PlanCommands({"bekind", "nokind"});
  EXPECT_FALSE(both.be_kind || both.no_kind);
  EXPECT_TRUE(both.any);  // the program still ends after them
  CommandPlan open = PlanCommands({"open_folder"});
  EXPECT_TRUE(open.open_korean && open.open_ludoria);
  EXPECT_FALSE(PlanCommands({"bekindx", "clone"}).any);
  EXPECT_TRUE(PlanCommands({"nokind"}).no_kind);
  for (const char* word :
       {"bekind", "nokind", "open_korean_folder", "open_ludoria_folder", "open_folder"})
    EXPECT_TRUE(PlanCommands({word}).any) << word;  // each word alone ends the program
}

TEST(LaunchStringOfCommandLine, BehindProgramAndCloneMarker) {
  struct Case {
    const char* line;
    bool ok;
    const char* expected;
  } cases[] = {
      // The character skipped is the closing quote; the blank stays.
      {"\"C:\\a\\ldstarter.exe\" ludoria://x", true, " ludoria://x"},
      {"C:\\a\\ldstarter.exe ludoria://x", true, "ludoria://x"},
      {"C:\\a\\ldstarter.exe", true, ""},
      {"C:\\tmp\\ldstarter.exe /clone ludoria://P=&P0=a", true, "ludoria://P=&P0=a"},
      {"C:\\a\\ldstarter ludoria://x", false, ""},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(LaunchStringOfCommandLine(c.line, &out), c.ok) << c.line;
    EXPECT_EQ(out, c.expected) << c.line;
  }
  EXPECT_TRUE(IsCloneRun("x.exe /clone ludoria://"));
  EXPECT_FALSE(IsCloneRun("x.exe /clone"));
}

TEST(StartupValues, AgeClassAndSessionId) {
  EXPECT_EQ(AgeClass("a?k22e=STONEBAN&x=1"), 2);
  EXPECT_EQ(AgeClass("a?k22e=GENERALS&ag=17"), 2);
  EXPECT_EQ(AgeClass("a?k22e=GENERALS&ag=18"), 1);
  EXPECT_EQ(AgeClass("a?k22e=stoneban&ag=30"), 0);
  EXPECT_EQ(AgeClass("a?x=1"), 0);

  std::string s = "a?k1=b";
  EXPECT_TRUE(AppendSessionId(&s, ""));
  EXPECT_EQ(s, "a?k1=b&k410e=00000000-0000-0000-0000-000000000000");
  EXPECT_FALSE(AppendSessionId(&s, "1234"));
}

}  // namespace
}  // namespace ld
