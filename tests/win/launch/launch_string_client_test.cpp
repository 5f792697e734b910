// The launch string client against the loopback portal (the end-to-end runs
// check the old format's request and the string the game gets, and an
// analysis failure): the fetch failures with their boxes and reports, and
// the token refresh.
#include "starter/launch/launch_string_client.h"

#include <windows.h>
#include <wininet.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/report/report_hosts.h"
#include "starter/platform/folders.h"
#include "starter/report/report_sender.h"
#include "starter/report/reporting_state.h"
#include "tests/win/support/portal_support.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class LaunchStringClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LD_REQUIRE_PORTAL();
    ResetReportingState();
    ReportHosts hosts;
    hosts.collection = test::PortalAddress();
    SetReportHosts(hosts);
    parties_.record = &record_;
    parties_.flags = &flags_;
    parties_.plum.dev = parties_.plum.alpha = parties_.plum.real = test::PortalAddress();
    std::string name;
    SplitHostPort(test::Env("LD_TEST_PORTAL_HTTPS"), &name, &parties_.plum.https_port);
  }
  void TearDown() override {
    WaitForReportSenders(10000);
    ResetReportingState();
  }

  // Writes an answer file of the loopback portal below its root.
  static void Serve(const std::string& folder, const std::string& name, const std::string& text) {
    ASSERT_TRUE(CreateFolder(test::WinePath(test::PortalRootUnix() + "/" + folder)));
    test::ScratchFolder::WriteFile(
        test::WinePath(test::PortalRootUnix() + "/" + folder + "/" + name), text);
  }
  // Logged requests to `path` (at least `count` awaited).
  static std::vector<Json::Value> Requests(const std::string& path, std::size_t count) {
    return test::LoggedRequests([&](const Json::Value& e) { return e["path"].asString() == path; },
                                count);
  }
  // "errorCode|body|resourceId" of the collection service's records for `game_id`.
  static std::vector<std::string> Reports(const std::string& game_id) {
    EXPECT_TRUE(WaitForReportSenders(10000));
    std::vector<std::string> reports;
    for (const Json::Value& e : Requests(kReportPath, 1)) {
      Json::Value r;
      if (Json::Reader().parse(e["body"].asString(), r) && r["gameId"].asString() == game_id)
        reports.push_back(r["errorCode"].asString() + "|" + r["body"].asString() + "|" +
                          r["resourceId"].asString());
    }
    return reports;
  }
  std::vector<std::string> Boxes() {
    std::vector<std::string> shown;
    for (const test::ShownBox& box : boxes_.boxes) shown.push_back(box.caption + "|" + box.text);
    boxes_.boxes.clear();
    return shown;
  }
  LaunchStringClient Client() { return LaunchStringClient(parties_); }

  LaunchRecord record_;
  ProgramFlags flags_;
  LaunchStringParties parties_;
  test::RecordingPresenter boxes_;
  ScopedBoxPresenter scoped_{&boxes_};
};

TEST_F(LaunchStringClientTest, FailuresShowTheirBoxesAndReports) {
  // Status 404: strings 165 and 166 in an error box and the report.
  record_.game_id = "NF404";
  record_.first_gamestring = "ludoria://http://" + test::PortalAddress() + "/gamestring/NOSUCH?a=1";
  EXPECT_FALSE(Client().Obtain());
  const std::string text =
      EnglishTableInUse() ? "Unable to open the URL. (Code:404)\n[Gamestring server]" : "";
  EXPECT_THAT(Boxes(), ElementsAre(AllOf(HasSubstr("00030004|"), HasSubstr(text))));
  EXPECT_THAT(Reports("NF404"), ElementsAre(StartsWith("00030004|" + text)));

  // A refused connection names the failure in the caption and the report; in
  // a test zone the testers' note follows string 164.
  flags_.test_zone = true;
  record_.game_id = "NOCONN";
  record_.first_gamestring = std::string("ludoria://http://") + test::kDeadHost + "/gamestring/x";
  EXPECT_FALSE(Client().Obtain());
  EXPECT_THAT(Boxes(),
              ElementsAre(AllOf(HasSubstr(" : INTERNET_CANNOT_CONNECT_0|"), HasSubstr("\n\n"))));
  EXPECT_THAT(
      Reports("NOCONN"),
      ElementsAre(HasSubstr("|INTERNET_CANNOT_CONNECT_0|res Id : (IDS_IR_CANNOT_OPENURL)")));
}

TEST_F(LaunchStringClientTest, TokenRefreshOverHttpsThenPlainHttp) {
  ASSERT_NE(parties_.plum.https_port, 443) << "LD_TEST_PORTAL_HTTPS not set";
  flags_.new_format = true;
  Serve("plum", "token.json", "// renewed\n{\"accesstoken\":\"T2 x\"}");
  record_.first_gamestring = "ludoria://P=&P0=bQ==&P1=Zw&P4=a b/c&P8=W1";
  record_.second_gamestring = record_.first_gamestring;
  record_.game_id = "TOKEN1";
  DWORD error = 0;
  ASSERT_TRUE(Client().RefreshToken(&error));
  // The answer lacks "webidentifier": P8 becomes empty.
  EXPECT_EQ(record_.first_gamestring, "ludoria://P=&P0=bQ==&P1=Zw&P4=T2 x&P8=");
  EXPECT_EQ(record_.second_gamestring, record_.first_gamestring);
  auto requests = Requests("/identifier/vesper/refresh.qrx", 1);
  ASSERT_EQ(requests.size(), 1u);
  const std::string body = "memberno=bQ==&gameid=Zw&accesstoken=a+b%2Fc&webidentifier=W1";
  EXPECT_EQ(requests[0]["body"].asString(), body);
  const std::pair<const char*, std::string> headers[] = {
      {"Host", "127.0.0.1:" + std::to_string(parties_.plum.https_port)},
      {"Accept", "text/*"},
      {"User-Agent", "Mozilla/4.0 (compatible; MSIE 6.0;* Windows NT)"},
      {"Content-type", "application/x-www-form-urlencoded"},
      {"Content-length", std::to_string(body.size())}};
  for (const auto& h : headers) EXPECT_EQ(test::Header(requests[0], h.first), h.second);

  // HTTPS port closed: the same request goes over plain HTTP; the empty web
  // identifier is reported and the request still sent.
  parties_.plum.https_port = 1;
  ASSERT_TRUE(Client().RefreshToken(&error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_INTERNET_CANNOT_CONNECT));
  requests = Requests("/identifier/vesper/refresh.qrx", 2);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(test::Header(requests[1], "Host"), test::PortalAddress());
  EXPECT_EQ(requests[1]["body"].asString(),
            "memberno=bQ==&gameid=Zw&accesstoken=T2+x&webidentifier=");
  EXPECT_THAT(Reports("TOKEN1"),
              ElementsAre(StartsWith("00000010|Web Cookie is NullOrEmpty\nGameString = " +
                                     record_.first_gamestring + "|")));
  // An answer that is not JSON.
  Serve("plum", "token.json", "<html>busy</html>");
  EXPECT_FALSE(Client().RefreshToken(&error));
  // An error answer, JSON though it is, leaves the credentials as they were.
  Serve("plum", "token.json", "{\"Message\":\"An error has occurred.\"}");
  Serve("plum", "token.status", "500");
  const std::string before = record_.first_gamestring;
  EXPECT_FALSE(Client().RefreshToken(&error));
  ::DeleteFileA(test::WinePath(test::PortalRootUnix() + "/plum/token.status").c_str());
  EXPECT_EQ(error, 500u);
  EXPECT_EQ(record_.first_gamestring, before);
  EXPECT_EQ(record_.second_gamestring, before);
}

}  // namespace
}  // namespace ld
