#include "core/report/step_log.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/launch/member_id.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

using test::FakeCp949ToUtf8;

TEST(StepLogSlot, Table) {
  const std::map<int, int> slots = {
      {200, 0},  {202, 2},  {204, 3},  {206, 4},  {208, 5},  {210, 6},  {212, 7},
      {214, 8},  {226, 14}, {228, 15}, {230, 16}, {232, 17}, {234, 18}, {236, 19},
      {238, 20}, {240, 21}, {242, 22}, {244, 23}, {246, 24}, {248, 25}, {250, 26},
  };
  for (int step = -5; step < 300; ++step) {
    auto it = slots.find(step);
    EXPECT_EQ(StepLogSlot(step), it == slots.end() ? -1 : it->second) << step;
  }
}

class StepLogTest : public ::testing::Test {
 protected:
  StepLogTest() {
    switches_.read_once = true;
    switches_.step_log_enabled = true;
    switches_.sequence = "seq-1";
  }

  // The path of the request for `step`, or "" when none goes out.
  std::string Send(int step, const std::string& member_id = "gamer",
                   GamestringFormat format = GamestringFormat::kOld,
                   const std::string& game_id = "aion") {
    StepLogRequest request;
    if (!log_.Prepare(step, game_id, member_id, format, FakeCp949ToUtf8, &switches_, &request))
      return std::string();
    return request.path;
  }

  ReportingSwitches switches_;
  StepLog log_;
};

TEST_F(StepLogTest, EachStepOnceAndOnlyStepsWithASlot) {
  EXPECT_EQ(Send(204), "/log.html?sub=base&step=204&gid=AION&mid=gamer&seq=seq-1");
  EXPECT_EQ(Send(204), "");
  EXPECT_EQ(Send(216), "");
  EXPECT_EQ(Send(0), "");
  EXPECT_EQ(Send(203), "");
  EXPECT_NE(Send(250), "");
  EXPECT_NE(Send(202), "");
  log_.Reset();
  EXPECT_NE(Send(204), "");
}

TEST_F(StepLogTest, SwitchedOffSendsNothingAndMarksNothingHostFollowsTheSwitch) {
  switches_.step_log_enabled = false;
  EXPECT_EQ(Send(204), "");
  switches_.step_log_enabled = true;
  switches_.step_log_host = StepLogHost::kAlphaZone;
  StepLogRequest request;
  ASSERT_TRUE(
      log_.Prepare(204, "g", "m", GamestringFormat::kOld, FakeCp949ToUtf8, &switches_, &request));
  EXPECT_EQ(request.host, StepLogHost::kAlphaZone);
}

TEST_F(StepLogTest, MemberIdEncodingTable) {
  struct Case {
    std::string member_id;
    std::string sent;
  } cases[] = {
      {"ab cd", "ab+cd"},
      {"me@ludoria.com", "me@ludoria.com"},
      {"\xB7\xE7\xB5\xE5", "%EB%A3%A8%EB%93%9C"},  // three UTF-8 escapes per letter
      {"a&b", "a%26b"},
      // Not convertible: sent as it stands.
      {"\xC0\xC1x", "\xC0\xC1x"},
  };
  for (const Case& c : cases) {
    log_.Reset();
    EXPECT_EQ(Send(200, c.member_id),
              "/log.html?sub=base&step=200&gid=AION&mid=" + c.sent + "&seq=seq-1")
        << c.member_id;
  }
}

TEST_F(StepLogTest, UnscramblesUntilStep212InOldFormatOnly) {
  const std::string scrambled = ScrambleMemberId("\xB7\xE7 x");
  EXPECT_EQ(Send(208, scrambled), "/log.html?sub=base&step=208&gid=AION&mid=%EB%A3%A8+x&seq=seq-1");
  // Step 212 itself still unscrambles; afterwards the id is taken as plain.
  EXPECT_NE(Send(212, scrambled).find("mid=%EB%A3%A8+x&"), std::string::npos);
  EXPECT_FALSE(switches_.unscramble_member_id);
  EXPECT_NE(Send(214, scrambled).find("mid=" + scrambled + "&"), std::string::npos);
}

TEST_F(StepLogTest, NewFormatOrABadCheckByteKeepsTheId) {
  const std::string scrambled = ScrambleMemberId("gamer");
  EXPECT_NE(Send(200, scrambled, GamestringFormat::kNew).find("mid=" + scrambled + "&"),
            std::string::npos);
  EXPECT_TRUE(switches_.unscramble_member_id);
  EXPECT_NE(Send(202, "0A0B0C").find("mid=0A0B0C&"), std::string::npos);  // hex, wrong check byte
}

TEST_F(StepLogTest, FieldLimits) {
  // Game id: 19 characters, upper-cased. Member id: 42 characters.
  const std::string path =
      Send(200, std::string(60, 'm'), GamestringFormat::kNew, "abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(path, "/log.html?sub=base&step=200&gid=ABCDEFGHIJKLMNOPQRS&mid=" +
                      std::string(42, 'm') + "&seq=seq-1");
  // The whole path is cut at 259 bytes.
  switches_.sequence = std::string(259, 's');
  const std::string long_path = Send(202);
  EXPECT_EQ(long_path.size(), kStepLogPathMax);
  EXPECT_EQ(long_path.rfind("/log.html?sub=base&step=202&gid=AION&mid=gamer&seq=sss", 0), 0u);
}

}  // namespace
}  // namespace ld
