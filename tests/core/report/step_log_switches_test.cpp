#include "core/report/step_log_switches.h"

#include <gtest/gtest.h>

#include <string>

namespace ld {
namespace {

struct SwitchCase {
  std::string text;
  bool enabled;
  std::string rewritten;  // text after the caller wrote "H" at the result
};

TEST(StepLogSwitches, K401eLettersTable) {
  const SwitchCase cases[] = {
      {"u?k401e=nyy", true, "u?k401e=nyH"},
      {"u?k401e=yyn", true, "u?k401e=yyn"},
      {"u?k401e=Y", false, "u?k401e=Y"},  // second letter missing
      {"u?k401e=nYY&x=1", true, "u?k401e=nYH&x=1"},
      {"u?k401e=ynY", false, "u?k401e=ynH"},  // third letter alone rewrites
      {"u?k401e=Ynn", false, "u?k401e=Ynn"},  // first letter never counts
      {"u?k401e=", false, "u?k401e="},
      {"u?a=1", false, "u?a=1"},
      // Letters past the end of the value belong to the next pair: neither
      // switch on the step log nor get rewritten.
      {"u?k401e=n&yy=1", false, "u?k401e=n&yy=1"},
      {"u?k401e=ny&y=1", true, "u?k401e=ny&y=1"},
      {"u?k401e=&Yy=1", false, "u?k401e=&Yy=1"},
      // Only the first occurrence is read.
      {"u?k401e=nnn&k401e=nyy", false, "u?k401e=nnn&k401e=nyy"},
  };
  for (const SwitchCase& c : cases) {
    ReportingSwitches s;
    std::string text = c.text;
    const int at = ReadStepLogSwitches(text.c_str(), &s);
    if (at > 0) text[at] = 'H';
    EXPECT_EQ(s.step_log_enabled, c.enabled) << c.text;
    EXPECT_EQ(text, c.rewritten) << c.text;
    EXPECT_TRUE(s.read_once);
  }
}

TEST(StepLogSwitches, HostAndSequence) {
  struct Case {
    std::string text;
    StepLogHost host;
    std::string sequence;
  } cases[] = {
      {"u?a=1&p189=3&k410e=abc-1&b=2", StepLogHost::kAlphaZone, "abc-1"},
      // "p189=" right behind "?" is no "&p189=": real zone.
      {"u?p189=3&k410e=xyz", StepLogHost::kRealZone, "xyz"},
      {"u?a=1", StepLogHost::kRealZone, ""},
      {"u?k410e=", StepLogHost::kRealZone, ""},
      {"u?k410e=" + std::string(300, 's'), StepLogHost::kRealZone, std::string(259, 's')},
  };
  for (const auto& c : cases) {
    ReportingSwitches s;
    ReadStepLogSwitches(c.text.c_str(), &s);
    EXPECT_EQ(s.step_log_host, c.host) << c.text;
    EXPECT_EQ(s.sequence, c.sequence) << c.text;
  }
}

TEST(StepLogSwitches, ReadOncePerRun) {
  ReportingSwitches s;
  EXPECT_EQ(ReadStepLogSwitches("u?k401e=nny", &s), 10);
  s.unscramble_member_id = false;
  // A second reading changes nothing and asks for no rewrite.
  EXPECT_EQ(ReadStepLogSwitches("u?k401e=yyy&p189=1&k410e=q", &s), -1);
  EXPECT_FALSE(s.step_log_enabled);
  EXPECT_EQ(s.step_log_host, StepLogHost::kRealZone);
  EXPECT_EQ(s.sequence, "");
  EXPECT_FALSE(s.unscramble_member_id);
}

TEST(StepLogSwitches, FirstReadingResetsAndNullTextOnlyResets) {
  ReportingSwitches s;
  s.step_log_enabled = true;
  s.unscramble_member_id = false;
  s.step_log_host = StepLogHost::kRealZone;
  EXPECT_EQ(ReadStepLogSwitches(nullptr, &s), -1);
  EXPECT_TRUE(s.read_once);
  EXPECT_FALSE(s.step_log_enabled);
  EXPECT_TRUE(s.unscramble_member_id);
  EXPECT_EQ(s.step_log_host, StepLogHost::kAlphaZone);
}

TEST(RemoteLogSwitch, KeyChoiceTable) {
  struct Case {
    std::string text;
    GamestringFormat format;
    bool production;
  } cases[] = {
      {"ludoria://P=&P0=a&P189=1", GamestringFormat::kNew, false},
      {"ludoria://P=&P0=a", GamestringFormat::kNew, true},
      {"ludoria://P=&P0=a&P189=", GamestringFormat::kNew, true},
      {"ludoria://P=&P0=a&P189=&x=1", GamestringFormat::kNew, true},
      // The pair texts are case-sensitive and differ by format.
      {"ludoria://P=&P0=a&p189=1", GamestringFormat::kNew, true},
      {"ludoria://h/x?p189=3&a=1", GamestringFormat::kOld, false},
      {"ludoria://h/x?a=1&P189=3", GamestringFormat::kOld, true},
      {"ludoria://h/x?a=1", GamestringFormat::kOld, true},
  };
  for (const auto& c : cases) {
    ReportingSwitches s;
    ReadRemoteLogSwitch(c.text, c.format, &s);
    EXPECT_EQ(s.production_log_key, c.production) << c.text;
  }
}

}  // namespace
}  // namespace ld
