#include "starter/launch/launch_string_client.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/error_codes.h"
#include "core/report/report_hosts.h"
#include "starter/report/box_presenter.h"
#include "starter/platform/folders.h"
#include "starter/launch/launch_string_dump_box.h"
#include "starter/platform/string_table.h"
#include "starter/report/report_sender.h"
#include "starter/report/reporting_state.h"
#include "tests/win/support/portal_support.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::LoggedRequests;
using test::RecordingPresenter;

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
    parties_.clean_launcher_pages = [this](const std::string& game_id) {
      cleaned_.push_back(game_id);
      return cleaned_count_;
    };
  }
  void TearDown() override {
    WaitForReportSenders(10000);
    ResetReportingState();
  }

  // Writes an answer file of the loopback portal below its root.
  static void Serve(const std::string& relative_folder, const std::string& name,
                    const std::string& content) {
    const std::string folder = test::WinePath(test::PortalRootUnix() + "/" + relative_folder);
    ASSERT_TRUE(CreateFolder(folder));
    test::ScratchFolder::WriteFile(folder + "\\" + name, content);
  }

  std::string PortalUrl(const std::string& path) const {
    return "http://" + test::PortalAddress() + path;
  }

  // Records of the collection service for `game_id`.
  static std::vector<Json::Value> Reports(const std::string& game_id, std::size_t at_least = 1) {
    EXPECT_TRUE(WaitForReportSenders(10000));
    std::vector<Json::Value> records;
    for (const Json::Value& e : LoggedRequests(
             [](const Json::Value& e) { return e["path"].asString() == kReportPath; }, at_least)) {
      Json::Value record;
      if (Json::Reader().parse(e["body"].asString(), record) &&
          record["gameId"].asString() == game_id)
        records.push_back(record);
    }
    return records;
  }

  LaunchStringClient Client() { return LaunchStringClient(parties_); }

  LaunchRecord record_;
  ProgramFlags flags_;
  LaunchStringParties parties_;
  RecordingPresenter boxes_;
  std::vector<std::string> cleaned_;
  int cleaned_count_ = 0;
};

TEST_F(LaunchStringClientTest, OldFormatMovesFieldsAndCarriesTheTicketBack) {
  Serve("gamestring", "OBT1.txt",
        "ludoria://OBT1channel://c metp://a/b/c/;k22e:4=OBT1&k93e:4=Game&k300e:2=T9");
  record_.first_gamestring =
      "ludoria://" + PortalUrl("/gamestring/OBT1?k22e=OBT1&x=1&k300e=T0&lang=ko");
  ScopedBoxPresenter scoped(&boxes_);
  LaunchStringClient client = Client();
  ASSERT_TRUE(client.Obtain());
  EXPECT_TRUE(boxes_.boxes.empty());
  EXPECT_EQ(record_.canonical_address,
            PortalUrl("/gamestring/OBT1?k22e=OBT1&x=1&k300e=T0&lang=ko"));
  EXPECT_EQ(record_.second_gamestring,
            "ludoria://OBT1channel://c metp://a/b/c/;k22e:4=OBT1&k22e:4=OBT1&k300e:2=T0"
            "&k93e:4=Game&k300e:2=T9");
  EXPECT_EQ(record_.first_gamestring, "ludoria://" + PortalUrl("/gamestring/OBT1?k22e=OBT1&x=1"
                                                               "&k300e=T0&lang=ko&clk2=1"));
  // The next request carries clk2 as a moved field; it is not added again.
  ASSERT_TRUE(client.Obtain());
  EXPECT_EQ(record_.first_gamestring.find("clk2=1&clk2"), std::string::npos);
  const auto requests = LoggedRequests(
      [](const Json::Value& e) { return e["path"].asString() == "/gamestring/OBT1"; }, 2);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0]["target"].asString(), "/gamestring/OBT1?x=1&lang=ko");
  EXPECT_EQ(requests[1]["target"].asString(), "/gamestring/OBT1?x=1&lang=ko");
}

TEST_F(LaunchStringClientTest, ShownAnswerAndTheDumpBoxCancel) {
  Serve("gamestring", "SHOW1.txt", "ludoria://SHOW1channel://c metp://a/b/c/;k93e:4=Game");
  record_.first_gamestring = "ludoria://" + PortalUrl("/gamestring/SHOW1");
  flags_.show_gamestring = true;
  int cancelled = 0;
  SetLaunchStringDumpCancelAction([&cancelled] { ++cancelled; });
  RecordingPresenter cancel(IDCANCEL);
  {
    ScopedBoxPresenter scoped(&cancel);
    ASSERT_TRUE(Client().Obtain());
  }
  SetLaunchStringDumpCancelAction(nullptr);
  ASSERT_EQ(cancel.boxes.size(), 1u);
  EXPECT_EQ(cancel.boxes[0].caption, "2nd gamestring from WEB");
  EXPECT_EQ(cancel.boxes[0].style, 0x51001u);
  EXPECT_EQ(cancel.boxes[0].owner, nullptr);
  EXPECT_EQ(cancel.boxes[0].text.rfind("* 2nd Gamestring *\n", 0), 0u);
  EXPECT_EQ(cancelled, 1);
}

TEST_F(LaunchStringClientTest, FailuresShowTheirBoxesAndReports) {
  ScopedBoxPresenter scoped(&boxes_);
  // Status 404: strings 165 and 166 in an error box and the report.
  record_.game_id = "NF404";
  record_.first_gamestring = "ludoria://" + PortalUrl("/gamestring/NOSUCH?a=1");
  EXPECT_FALSE(Client().Obtain());
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  const std::string text = boxes_.boxes[0].text;
  if (EnglishTableInUse()) {
    EXPECT_EQ(text, "Unable to open the URL. (Code:404)\n[Gamestring server]");
  }
  EXPECT_NE(boxes_.boxes[0].caption.find("00030004"), std::string::npos);
  auto reports = Reports("NF404");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0]["errorCode"].asString(), "00030004");
  EXPECT_EQ(reports[0]["body"].asString(), text);

  // A refused connection names the failure in the caption and the report; in
  // a test zone the testers' note follows string 164.
  boxes_.boxes.clear();
  flags_.test_zone = true;
  record_.game_id = "NOCONN";
  record_.first_gamestring = std::string("ludoria://http://") + test::kDeadHost + "/gamestring/x";
  EXPECT_FALSE(Client().Obtain());
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_NE(boxes_.boxes[0].caption.find(" : INTERNET_CANNOT_CONNECT_0"), std::string::npos)
      << boxes_.boxes[0].caption;
  EXPECT_NE(boxes_.boxes[0].text.find("\n\n"), std::string::npos);
  reports = Reports("NOCONN");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0]["body"].asString(), "INTERNET_CANNOT_CONNECT_0");
  EXPECT_EQ(reports[0]["resourceId"].asString(), "res Id : (IDS_IR_CANNOT_OPENURL)");

  // No "ludoria://": nothing to canonicalise.
  boxes_.boxes.clear();
  record_.first_gamestring = "http://gs/g?a=1";
  EXPECT_FALSE(Client().Obtain());
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_NE(boxes_.boxes[0].caption.find("00030002"), std::string::npos);
}

TEST_F(LaunchStringClientTest, StopDuringTheReadEndsQuietly) {
  Serve("gamestring", "STOP1.txt",
        "ludoria://STOP1channel://;k93e:4=Game&" + std::string(5000, 'z'));
  record_.first_gamestring = "ludoria://" + PortalUrl("/gamestring/STOP1");
  int polls = 0;
  parties_.stop_requested = [&polls] { return ++polls >= 1; };
  ScopedBoxPresenter scoped(&boxes_);
  EXPECT_FALSE(Client().Obtain());
  EXPECT_EQ(polls, 1);
  EXPECT_LE(record_.second_gamestring.size(), 1024u);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(LaunchStringClientTest, AnalysisFailuresWithAndWithoutAWord) {
  ScopedBoxPresenter scoped(&boxes_);
  // A failure word: string 167 with the word, no report, no clean-up box.
  record_.game_id = "ANW";
  record_.second_gamestring = "ludoria://ANWchannel://c metp://a/b/c/ no semicolon";
  EXPECT_FALSE(Client().Analyse());
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_NE(boxes_.boxes[0].caption.find("00110004 : semicolon"), std::string::npos);
  EXPECT_EQ(cleaned_, std::vector<std::string>{"ANW"});

  // No word (an expired answer): string 168 with the times, the report, and
  // the message about the deleted cache entries.
  boxes_.boxes.clear();
  cleaned_count_ = 2;
  record_.first_gamestring = "ludoria://http://gs/g?shutdown=MjAyNA==";
  record_.second_gamestring = "expired";
  EXPECT_FALSE(Client().Analyse());
  ASSERT_EQ(boxes_.boxes.size(), 2u);
  EXPECT_NE(boxes_.boxes[0].text.find("\nUTC: "), std::string::npos);
  EXPECT_NE(boxes_.boxes[0].text.find("\n( gamestring time : 2024 )"), std::string::npos);
  EXPECT_NE(boxes_.boxes[1].caption.find("outdated gamestring"), std::string::npos);
  EXPECT_NE(boxes_.boxes[1].text.find("(2"), std::string::npos);
  EXPECT_EQ(boxes_.boxes[1].style & MB_ICONINFORMATION, static_cast<UINT>(MB_ICONINFORMATION));
  const auto reports = Reports("ANW");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0]["resourceId"].asString(), "res Id : (IDS_GS_INVALID_STRING_EXPIRE)");

  // Nothing cleaned in kind mode: the diagnostic support box.
  boxes_.boxes.clear();
  cleaned_count_ = 0;
  flags_.kind_mode = true;
  parties_.kind_command_tail = "cmd tail";
  EXPECT_FALSE(Client().Analyse());
  ASSERT_EQ(boxes_.boxes.size(), 2u);
  EXPECT_EQ(boxes_.boxes[1].text.rfind("[1st gamestring] (8)\n\"cmd tail\"\n", 0), 0u);
}

TEST_F(LaunchStringClientTest, IdentifierRefreshSendsItsQueryAndRewritesTheField) {
  Serve("plum", "identifier.txt", "NEW&ID");
  record_.member_id = "idm1";
  record_.game_id = "tabla";
  record_.identifier = "old";
  record_.zone_number = 2;  // dev zone, the other path
  record_.second_gamestring = "Gchannel://;k3e:4=idm1&k301e:3=old&k93e:1=t";
  DWORD error = 0;
  ASSERT_TRUE(Client().RefreshIdentifier(&error));
  EXPECT_EQ(record_.identifier, "NEW&ID");
  EXPECT_EQ(record_.second_gamestring, "Gchannel://;k3e:4=idm1&k301e:6=NEW&ID&k93e:1=t");
  const auto requests = LoggedRequests(
      [](const Json::Value& e) { return e["path"].asString() == "/gstr/cocas/get.qrx"; }, 1);
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back()["method"].asString(), "POST");
  EXPECT_EQ(requests.back()["target"].asString(),
            "/gstr/cocas/get.qrx?memberid=idm1&gameid=TABLA&identifier=old");
  EXPECT_EQ(requests.back()["body"].asString(), "");

  parties_.plum.dev = test::kDeadHost;
  error = 0;
  EXPECT_FALSE(Client().RefreshIdentifier(&error));
  EXPECT_NE(error, 0u);
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
  auto requests = LoggedRequests(
      [](const Json::Value& e) { return e["path"].asString() == "/identifier/vesper/refresh.qrx"; },
      1);
  ASSERT_EQ(requests.size(), 1u);
  const Json::Value& sent = requests[0];
  EXPECT_EQ(sent["body"].asString(),
            "memberno=bQ==&gameid=Zw&accesstoken=a+b%2Fc&webidentifier=W1");
  EXPECT_EQ(test::Header(sent, "Host"), "127.0.0.1:" + std::to_string(parties_.plum.https_port));
  EXPECT_EQ(test::Header(sent, "Accept"), "text/*");
  EXPECT_EQ(test::Header(sent, "User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0;* Windows NT)");
  EXPECT_EQ(test::Header(sent, "Content-type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(test::Header(sent, "Content-length"), std::to_string(sent["body"].asString().size()));

  // HTTPS port closed: the same request goes over plain HTTP; the empty web
  // identifier is reported and the request still sent.
  parties_.plum.https_port = 1;
  error = 0;
  ASSERT_TRUE(Client().RefreshToken(&error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_INTERNET_CANNOT_CONNECT));
  requests = LoggedRequests(
      [](const Json::Value& e) { return e["path"].asString() == "/identifier/vesper/refresh.qrx"; },
      2);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(test::Header(requests[1], "Host"), test::PortalAddress());
  EXPECT_EQ(requests[1]["body"].asString(),
            "memberno=bQ==&gameid=Zw&accesstoken=T2+x&webidentifier=");
  const auto reports = Reports("TOKEN1");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0]["errorCode"].asString(), "00000010");
  EXPECT_EQ(reports[0]["body"].asString(),
            "Web Cookie is NullOrEmpty\nGameString = " + record_.first_gamestring);

  // An answer that is not JSON.
  Serve("plum", "token.json", "<html>busy</html>");
  EXPECT_FALSE(Client().RefreshToken(&error));
}

}  // namespace
}  // namespace ld
