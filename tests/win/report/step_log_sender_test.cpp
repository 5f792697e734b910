#include "starter/report/step_log_sender.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/launch/member_id.h"
#include "starter/report/reporting_state.h"
#include "tests/win/support/portal_support.h"

namespace ld {
namespace {

using test::LoggedRequests;

class StepLogSenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LD_REQUIRE_PORTAL();
    ResetReportingState();
    seq_ = test::UniqueTag("seq");
  }
  void TearDown() override { ResetReportingState(); }

  // Points the chosen zone's step-log server at the portal and the other one
  // at a dead port, so a request only arrives when the host choice is right.
  static void Hosts(bool portal_is_real_zone) {
    ReportHosts hosts;
    hosts.real_step_log = portal_is_real_zone ? test::PortalAddress() : test::kDeadHost;
    hosts.alpha_step_log = portal_is_real_zone ? test::kDeadHost : test::PortalAddress();
    SetReportHosts(hosts);
  }

  std::string Gamestring(const std::string& k401e, bool alpha = false) const {
    return "ludoria://127.0.0.1/gs?k22e=aion&k3e=m" + std::string(alpha ? "&p189=1" : "") +
           "&k401e=" + k401e + "&k410e=" + seq_;
  }

  // Targets of the step-log requests of this test, after its senders ended.
  std::vector<std::string> Sent(std::size_t at_least) const {
    EXPECT_TRUE(WaitForStepLogSenders());
    const std::string marker = "&seq=" + seq_;
    std::vector<std::string> targets;
    for (const Json::Value& e : LoggedRequests(
             [&marker](const Json::Value& e) {
               const std::string target = e["target"].asString();
               return e["path"].asString() == "/log.html" && target.size() >= marker.size() &&
                      target.compare(target.size() - marker.size(), marker.size(), marker) == 0;
             },
             at_least, at_least == 0 ? 0 : 5000)) {
      EXPECT_EQ(e["method"].asString(), "GET");
      EXPECT_EQ(e["body"].asString(), "");
      EXPECT_EQ(test::Header(e, "User-Agent"), kStepLogAgent);
      targets.push_back(e["target"].asString());
    }
    return targets;
  }

  std::string Target(int step, const std::string& mid) const {
    return "/log.html?sub=base&step=" + std::to_string(step) + "&gid=AION&mid=" + mid +
           "&seq=" + seq_;
  }

  std::string seq_;
};

TEST_F(StepLogSenderTest, EachStepWithASlotOnce) {
  Hosts(true);
  std::string first = Gamestring("nyy");
  const int at = ReadStepLogSwitches(first);
  ASSERT_GT(at, 0);
  first[at] = 'H';
  EXPECT_NE(first.find("&k401e=nyH&"), std::string::npos);
  ReadRemoteLogSwitch(first, GamestringFormat::kOld);

  for (int step : {204, 204, 216, 203, 0, 251, 250, 250}) {
    StepLog("aion", "m", step, GamestringFormat::kOld);
  }
  const auto sent = Sent(2);
  EXPECT_EQ(std::multiset<std::string>(sent.begin(), sent.end()),
            (std::multiset<std::string>{Target(204, "m"), Target(250, "m")}));
}

TEST_F(StepLogSenderTest, AlphaZoneHostWhenTheGamestringHasP189) {
  Hosts(false);
  ReadStepLogSwitches(Gamestring("yYn", true));
  StepLog("aion", "m", 200, GamestringFormat::kOld);
  EXPECT_EQ(Sent(1), std::vector<std::string>{Target(200, "m")});
}

TEST_F(StepLogSenderTest, NothingWhenK401eDoesNotSwitchItOn) {
  Hosts(true);
  for (const char* value : {"ynn", "Y", "nNy", ""}) {
    ResetReportingState();
    Hosts(true);
    ReadStepLogSwitches(Gamestring(value));
    StepLog("aion", "m", 200, GamestringFormat::kOld);
    StepLog("aion", "m", 204, GamestringFormat::kOld);
  }
  EXPECT_TRUE(Sent(0).empty());
}

TEST_F(StepLogSenderTest, MemberIdIsUnscrambledUntilStep212AndEncoded) {
  const std::string scrambled = test::Env("LD_TEST_SCRAMBLED_ID");
  const std::string plain = test::Env("LD_TEST_SCRAMBLED_PLAIN");
  if (scrambled.empty()) GTEST_SKIP() << "no id scrambled by ldtool";
  // The portal side's scrambler and this build's table agree.
  ASSERT_EQ(UnscrambleMemberId(scrambled), plain);
  // Short enough to survive the 42-character cut of the member id.
  ASSERT_EQ(plain, "tester 01@ludo.kr");

  Hosts(true);
  ReadStepLogSwitches(Gamestring("nyn"));
  StepLog("aion", scrambled, 208, GamestringFormat::kOld);
  StepLog("aion", scrambled, 212, GamestringFormat::kOld);
  StepLog("aion", scrambled, 214, GamestringFormat::kOld);
  const auto sent = Sent(3);
  EXPECT_EQ(std::set<std::string>(sent.begin(), sent.end()),
            (std::set<std::string>{Target(208, "tester+01@ludo.kr"),
                                   Target(212, "tester+01@ludo.kr"), Target(214, scrambled)}));
}

TEST_F(StepLogSenderTest, KoreanMemberIdGoesAsEscapedUtf8) {
  Hosts(true);
  ReadStepLogSwitches(Gamestring("nyn"));
  // New format: no unscrambling. Code page 949 in this build.
  StepLog("aion", "루드 a", 200, GamestringFormat::kNew);
  EXPECT_EQ(Sent(1), std::vector<std::string>{Target(200, "%EB%A3%A8%EB%93%9C+a")});
}

// A server that takes connections into its backlog and never answers: the
// senders hang in their request until the receive time-out.
class SilentServer {
 public:
  SilentServer() {
    WSADATA data;
    started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (socket_ == INVALID_SOCKET ||
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(socket_, SOMAXCONN) != 0 ||
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    host_ = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  }
  ~SilentServer() {
    if (socket_ != INVALID_SOCKET) ::closesocket(socket_);
    if (started_) ::WSACleanup();
  }
  const std::string& host() const { return host_; }

 private:
  bool started_ = false;
  SOCKET socket_ = INVALID_SOCKET;
  std::string host_;
};

TEST_F(StepLogSenderTest, WaitGivesUpOnSendersThatHangAndForgetsThem) {
  std::string silent_host;
  {
    SilentServer silent;
    ASSERT_FALSE(silent.host().empty());
    ReportHosts hosts;
    hosts.real_step_log = silent.host();
    SetReportHosts(hosts);
    ReadStepLogSwitches(Gamestring("nyn"));
    StepLog("aion", "m", 200, GamestringFormat::kOld);
    StepLog("aion", "m", 202, GamestringFormat::kOld);
    // They wait up to the 3000 ms receive time-out for an answer.
    EXPECT_FALSE(WaitForStepLogSenders(200));
    // The list was emptied: nothing is left to wait for.
    EXPECT_TRUE(WaitForStepLogSenders(0));
  }
  // The forgotten senders end on their own without touching the list; a new
  // one after them is tracked as usual.
  Hosts(true);
  StepLog("aion", "m", 204, GamestringFormat::kOld);
  EXPECT_EQ(Sent(1), std::vector<std::string>{Target(204, "m")});
}

}  // namespace
}  // namespace ld
