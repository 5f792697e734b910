#include "core/install/file_decision.h"

#include <gtest/gtest.h>

#include <string>

#include "core/base/time_value.h"

namespace ld {
namespace {

TEST(IsProgramFile, LastDotRule) {
  struct Case {
    const char* path;
    bool expected;
  };
  const Case cases[] = {
      {"C:\\Game\\game.exe", true},
      {"C:\\Game\\lib.Dll", true},
      {".exe", true},
      {"C:\\Game\\readme.txt", false},
      {"C:\\Game\\game.exe.bak", false},
      {"C:\\Game.exe\\data", false},  // the last dot of the whole path decides
      {"C:\\Game\\exe", false},
      {"C:\\Game\\game.", false},
      {"C:\\Game\\game.exex", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, IsProgramFile(c.path)) << c.path;
  // Extensions longer than 31 characters are not recognised at all.
  EXPECT_FALSE(IsProgramFile("a." + std::string(32, 'x')));
}

TEST(SameLocalMinute, SecondsIgnoredMinutesNot) {
  const TimeValue noon = TimeFromFields(2007, 3, 15, 12, 0, 0);
  EXPECT_TRUE(SameLocalMinute(noon, noon + 59));
  EXPECT_FALSE(SameLocalMinute(noon + 59, noon + 60));
  EXPECT_FALSE(SameLocalMinute(noon, noon - 1));
  EXPECT_FALSE(SameLocalMinute(noon, noon + 24 * 3600));
}

struct DecisionCase {
  const char* label;
  const char* path;
  bool exists;
  uint32_t size;
  int second_offset;  // local last-write time relative to the listed time
  uint32_t local_checksum;
  uint32_t expected_code;
  bool checksum_needed;
};

class DecideNeedsUpdateTest : public testing::TestWithParam<DecisionCase> {};

// The listed file: 1234 bytes, checksum 0xABCD, 2007-03-15 12:34:10 local.
TEST_P(DecideNeedsUpdateTest, Code) {
  const DecisionCase& c = GetParam();
  ExpectedFile expected;
  expected.size = 1234;
  expected.checksum = 0xABCD;
  expected.time = TimeFromFields(2007, 3, 15, 12, 34, 10);
  LocalFileFacts facts;
  facts.exists = c.exists;
  facts.size = c.size;
  facts.last_write_time = expected.time + c.second_offset;
  int calls = 0;
  const uint32_t code = DecideNeedsUpdate(facts, expected, c.path, [&] {
    ++calls;
    return c.local_checksum;
  });
  EXPECT_EQ(c.expected_code, code);
  EXPECT_EQ(c.checksum_needed ? 1 : 0, calls) << "checksum computed when not needed, or twice";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecideNeedsUpdateTest,
    testing::Values(
        DecisionCase{"up_to_date_program", "C:\\G\\a.exe", true, 1234, 0, 0xABCD, 0, true},
        DecisionCase{"seconds_only_differ", "C:\\G\\a.exe", true, 1234, 49, 0xABCD, 0, true},
        DecisionCase{"missing_wins_over_all", "C:\\G\\a.exe", false, 1, 9999, 1, 1, false},
        DecisionCase{"size", "C:\\G\\a.exe", true, 1235, 0, 0xABCD, 2, false},
        DecisionCase{"size_before_time", "C:\\G\\a.exe", true, 1, 3600, 0, 2, false},
        DecisionCase{"next_minute", "C:\\G\\a.exe", true, 1234, 50, 0xABCD, 4, false},
        DecisionCase{"previous_minute", "C:\\G\\a.txt", true, 1234, -11, 0, 4, false},
        DecisionCase{"time_before_checksum", "C:\\G\\a.dll", true, 1234, 3600, 0, 4, false},
        DecisionCase{"dll_checksum_upper_case", "C:\\G\\A.DLL", true, 1234, 0, 0xABCE, 8, true},
        DecisionCase{"txt_checksum_ignored", "C:\\G\\a.txt", true, 1234, 0, 0xABCE, 0, false},
        DecisionCase{"exe_dir_dot_ignored", "C:\\G.exe\\a", true, 1234, 0, 0, 0, false}),
    [](const testing::TestParamInfo<DecisionCase>& info) { return std::string(info.param.label); });

TEST(DecideNeedsUpdate, ZeroChecksumMatchesButNoChecksumSourceIsNotTrusted) {
  ExpectedFile expected;
  expected.time = TimeFromFields(2010, 1, 2, 3, 4, 5);
  LocalFileFacts facts{true, 0, expected.time};
  EXPECT_EQ(0u, DecideNeedsUpdate(facts, expected, "C:\\G\\empty.exe", [] { return 0u; }));
  EXPECT_EQ(8u, DecideNeedsUpdate(facts, expected, "C:\\G\\a.exe", nullptr));
  EXPECT_EQ(0u, DecideNeedsUpdate(facts, expected, "C:\\G\\a.dat", nullptr));
}

}  // namespace
}  // namespace ld
