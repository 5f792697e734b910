#include "starter/report/report_sender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/report/crash_record.h"
#include "core/driver/hs_state.h"
#include "starter/platform/code_page.h"
#include "starter/report/reporting_state.h"
#include "tests/win/support/portal_support.h"

namespace ld {
namespace {

using test::Header;
using test::LoggedRequests;

class ReportSenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LD_REQUIRE_PORTAL();
    ResetReportingState();
    ReportHosts hosts;
    hosts.collection = test::PortalAddress();
    SetReportHosts(hosts);
  }
  void TearDown() override { ResetReportingState(); }

  // Posts nothing itself: waits for the senders, then finds the records the
  // collection service received for `game_id` (upper case, as sent).
  static std::vector<Json::Value> Received(const std::string& game_id, std::size_t at_least = 1) {
    EXPECT_TRUE(WaitForReportSenders(10000));
    return LoggedRequests(
        [&game_id](const Json::Value& e) {
          if (e["method"].asString() != "POST" || e["path"].asString() != kReportPath) return false;
          Json::Value record;
          return Json::Reader().parse(e["body"].asString(), record) &&
                 record["gameId"].asString() == game_id;
        },
        at_least);
  }

  static std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](char c) {
      return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return s;
  }
};

TEST_F(ReportSenderTest, FullRecordArrivesExactlyWithItsHeaders) {
  const std::string game = test::UniqueTag("full");
  ReadRemoteLogSwitch("ludoria://h/gs?a=1", GamestringFormat::kOld);  // no p189: production key
  ReportFactHooks hooks;
  hooks.version_text = [] { return std::string("19.2.0.1"); };
  hooks.states = [](int* previous, int* current) {
    *previous = HS_STATE_READY_TO_GET_GAMEKIND;
    *current = HS_STATE_WAITING_FOR_GET_GAMEKIND;
  };
  SetReportFactHooks(hooks);

  Report(game, "gamer", 0x0018000A, "Not enough disk space for Ludoria Files.",
         "IDS_FAIL_NOTENOUGH_FREESPACE", "exec-7");
  const auto got = Received(Upper(game));
  ASSERT_EQ(got.size(), 1u);
  const Json::Value& request = got[0];

  CrashReport expected_report;
  expected_report.game_id = game;
  expected_report.member_id = "gamer";
  expected_report.code = 0x0018000A;
  expected_report.body = "Not enough disk space for Ludoria Files.";
  expected_report.resource_name = "IDS_FAIL_NOTENOUGH_FREESPACE";
  expected_report.executor = "exec-7";
  CrashRecordFacts facts;
  facts.production_key = true;
  facts.version = "19.2.0.1";
  facts.previous_state = HS_STATE_READY_TO_GET_GAMEKIND;
  facts.current_state = HS_STATE_WAITING_FOR_GET_GAMEKIND;
  WindowsVersion(&facts.os_major, &facts.os_minor, &facts.os_build);
  const std::string document = CrashRecordDocument(expected_report, facts, Cp949ToUtf8);
  EXPECT_EQ(request["body"].asString(), document);

  Json::Value record;
  ASSERT_TRUE(Json::Reader().parse(request["body"].asString(), record));
  EXPECT_EQ(record["projectName"].asString(), "Hs3NdY8cJw5GtE1u");
  EXPECT_EQ(record["errorCode"].asString(), "0018000A");
  EXPECT_EQ(record["resourceId"].asString(), "res Id : (IDS_FAIL_NOTENOUGH_FREESPACE)");
  EXPECT_EQ(record["HSState"].asString(),
            "LastState( HS_STATE_READY_TO_GET_GAMEKIND ) -> CurrentState( "
            "HS_STATE_WAITING_FOR_GET_GAMEKIND )");
  EXPECT_NE(record["osInfo"].asString(), "0.0.0");

  EXPECT_EQ(Header(request, "Accept"), "text/*");
  EXPECT_EQ(Header(request, "User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0;* Windows NT)");
  EXPECT_EQ(Header(request, "Content-Type"), "application/json");
  EXPECT_EQ(Header(request, "Content-Length"), std::to_string(document.size()));
}

TEST_F(ReportSenderTest, RecordWithoutBodyResourceOrExecutor) {
  const std::string game = test::UniqueTag("bare");
  ReadRemoteLogSwitch("ludoria://P=&P0=a&P189=1", GamestringFormat::kNew);  // test key
  Report(game, "m", 0x97);
  const auto got = Received(Upper(game));
  ASSERT_EQ(got.size(), 1u);
  Json::Value record;
  ASSERT_TRUE(Json::Reader().parse(got[0]["body"].asString(), record));
  EXPECT_TRUE(record.isMember("body"));
  EXPECT_EQ(record["body"].asString(), "");
  EXPECT_FALSE(record.isMember("resourceId"));
  EXPECT_FALSE(record.isMember("executor"));
  EXPECT_EQ(record["errorCode"].asString(), "00000097");
  EXPECT_EQ(record["projectName"].asString(), "Qm7TzR2kVb9LxW4p");
  EXPECT_EQ(record["projectVersion"].asString(), "19.0.7.14");
  EXPECT_EQ(record["HSState"].asString(),
            "LastState( HS_STATE_INITIAL ) -> CurrentState( HS_STATE_INITIAL )");
}

TEST_F(ReportSenderTest, KoreanTextArrivesAsTheUtf8ItClaims) {
  const std::string game = test::UniqueTag("kor");
  Report(game, "루드", 0x10, "루드스타터 오류");  // code page 949 in this build
  const auto got = Received(Upper(game));
  ASSERT_EQ(got.size(), 1u);
  Json::Value record;
  ASSERT_TRUE(Json::Reader().parse(got[0]["body"].asString(), record));
  EXPECT_EQ(record["body"].asString(), std::string(u8"루드스타터 오류"));
  EXPECT_EQ(record["userId"].asString(), std::string(u8"루드"));
  EXPECT_EQ(record["encoding"].asString(), "UTF-8");
}

TEST_F(ReportSenderTest, EveryReportGetsItsOwnPost) {
  const std::string game = test::UniqueTag("many");
  for (int i = 0; i < 5; ++i)
    Report(game, "m", 0x88, ("[ERR]DownloadFile() " + std::to_string(i)).c_str());
  EXPECT_EQ(Received(Upper(game), 5).size(), 5u);
}

TEST_F(ReportSenderTest, UnreachableServiceEndsTheSenderQuietly) {
  ReportHosts hosts;
  hosts.collection = test::kDeadHost;
  SetReportHosts(hosts);
  Report("dead", "m", 0x88, "x");
  EXPECT_TRUE(WaitForReportSenders(10000));
}

}  // namespace
}  // namespace ld
