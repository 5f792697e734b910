#include "core/report/step_log.h"

#include <gtest/gtest.h>

#include "core/launch/member_id.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

TEST(StepLogSwitches, FirstReadingOnly) {
  // text -> "enabled rewritten-letter host sequence"; the first of the
  // k401e letters is the portal's, the next pair's letters are not the value's.
  const std::string cases[][2] = {
      {"u?k401e=nyy", "1 10 R "},           {"u?k401e=ynY&x=1", "0 10 R "},
      {"u?k401e=Ynn", "0 -1 R "},           {"u?k401e=n&yy=1", "0 -1 R "},
      {"u?k401e=nnn&k401e=nyy", "0 -1 R "}, {"u?k401e=ny&y=1", "1 -1 R "},
      {"u?p189=3&k410e=xyz", "0 -1 R xyz"}, {"u?a=1&p189=3&k410e=abc-1&b=2", "0 -1 A abc-1"},
  };
  for (const auto& c : cases) {
    ReportingSwitches s;
    const int at = ReadStepLogSwitches(c[0].c_str(), &s);
    EXPECT_EQ(std::to_string(s.step_log_enabled) + " " + std::to_string(at) +
                  (s.step_log_host == StepLogHost::kRealZone ? " R " : " A ") + s.sequence,
              c[1]);
  }
  ReportingSwitches s{false, true, StepLogHost::kRealZone, "", false, false};
  EXPECT_TRUE(ReadStepLogSwitches(nullptr, &s) == -1 && !s.step_log_enabled &&
              s.unscramble_member_id);                                // resets all the same
  EXPECT_TRUE(ReadStepLogSwitches("u?k401e=nyy&p189=1", &s) == -1 &&  // read once per run
              s.step_log_host == StepLogHost::kAlphaZone);

  // The remote log's key: the test key when the new launch string names one.
  ReadRemoteLogSwitch("ludoria://P=&P0=a&P189=1", GamestringFormat::kNew, &s);
  EXPECT_FALSE(s.production_log_key);
  ReadRemoteLogSwitch("ludoria://P=&P0=a&P189=", GamestringFormat::kNew, &s);
  EXPECT_TRUE(s.production_log_key);
}

TEST(StepLog, OneRequestPerStepWithASlot) {
  const int kSlots[][2] = {{198, -1}, {200, 0},  {201, -1}, {202, 2},  {214, 8},
                           {216, -1}, {224, -1}, {226, 14}, {250, 26}, {252, -1}};
  for (const auto& s : kSlots) EXPECT_EQ(StepLogSlot(s[0]), s[1]) << s[0];

  ReportingSwitches sw{true, true, StepLogHost::kRealZone, std::string(300, 's'), true, false};
  StepLog log;
  const std::string scrambled = ScrambleMemberId("\xB7\xE7 x");
  // Member ids are unscrambled in old launch strings up to step 212, then
  // encoded as UTF-8; what cannot be converted goes as it stands. Rows:
  // step, member id, what the path holds ("" when nothing goes out); step
  // 208 comes from a new launch string, which never scrambles.
  const std::string cases[][3] = {
      {"200", "ab cd", "/log.html?sub=base&step=200&gid=ABCDEFGHIJKLMNOPQRS&mid=ab+cd&seq=sss"},
      {"200", "x", ""},
      {"216", "x", ""},
      {"202", "\xB7\xE7\xB5\xE5", "mid=%EB%A3%A8%EB%93%9C&"},
      {"206", "\xC0\xC1x", "mid=\xC0\xC1x&"},
      {"208", scrambled, "mid=" + scrambled + "&"},
      {"212", scrambled, "mid=%EB%A3%A8+x&"},
      {"214", scrambled, "mid=" + scrambled + "&"},
      {"226", std::string(60, 'm'), "mid=" + std::string(42, 'm') + "&"},
  };
  StepLogRequest r;
  for (const auto& c : cases) {
    r.path.clear();
    log.Prepare(std::stoi(c[0]), "abcdefghijklmnopqrstuvwxyz", c[1],
                c[0] == "208" ? GamestringFormat::kNew : GamestringFormat::kOld,
                test::FakeCp949ToUtf8, &sw, &r);
    EXPECT_TRUE(r.path.empty() == c[2].empty() && r.path.find(c[2]) != std::string::npos) << r.path;
  }
  EXPECT_EQ(r.path.size(), kStepLogPathMax);  // the long sequence is cut
  sw.step_log_enabled = false;
  EXPECT_FALSE(log.Prepare(230, "g", "m", GamestringFormat::kOld, nullptr, &sw, &r));
}

}  // namespace
}  // namespace ld
