#include "starter/report/report_sender.h"

#include <gtest/gtest.h>

#include <string>

#include "core/driver/hs_state.h"
#include "core/report/crash_record.h"
#include "starter/platform/code_page.h"
#include "starter/report/reporting_state.h"
#include "tests/win/support/portal_support.h"

namespace ld {
namespace {

TEST(ReportSenderTest, RecordArrivesExactlyWithItsHeaders) {
  LD_REQUIRE_PORTAL();
  ResetReportingState();
  ReportHosts hosts;
  hosts.collection = test::PortalAddress();
  SetReportHosts(hosts);
  ReadRemoteLogSwitch("ludoria://h/gs?a=1", GamestringFormat::kOld);  // no p189: production key
  ReportFactHooks hooks;
  hooks.version_text = [] { return std::string("19.2.0.1"); };
  hooks.states = [](int* previous, int* current) {
    *previous = HS_STATE_READY_TO_GET_GAMEKIND;
    *current = HS_STATE_WAITING_FOR_GET_GAMEKIND;
  };
  SetReportFactHooks(hooks);
  CrashReport report;
  report.game_id = test::UniqueTag("full");
  report.member_id = "루드";  // code page 949 in this build, UTF-8 on the wire
  report.code = 0x0018000A;
  report.body = "Not enough disk space for Ludoria Files.";
  report.resource_name = "IDS_FAIL_NOTENOUGH_FREESPACE";
  report.executor = "exec-7";
  Report(report.game_id, report.member_id, report.code, report.body->c_str(),
         report.resource_name->c_str(), report.executor->c_str());
  EXPECT_TRUE(WaitForReportSenders(10000));

  CrashRecordFacts facts;
  facts.production_key = true;
  facts.version = "19.2.0.1";
  facts.previous_state = HS_STATE_READY_TO_GET_GAMEKIND;
  facts.current_state = HS_STATE_WAITING_FOR_GET_GAMEKIND;
  WindowsVersion(&facts.os_major, &facts.os_minor, &facts.os_build);
  const std::string document = CrashRecordDocument(report, facts, Cp949ToUtf8);
  Json::Value record;
  EXPECT_TRUE(Json::Reader().parse(document, record) && record["userId"].asString() == u8"루드");
  const auto got = test::LoggedRequests(
      [&document](const Json::Value& e) { return e["body"].asString() == document; }, 1);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0]["method"].asString() + " " + got[0]["path"].asString(),
            std::string("POST ") + kReportPath);
  EXPECT_EQ(test::Header(got[0], "User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0;* Windows NT)");
  EXPECT_EQ(test::Header(got[0], "Content-Type"), "application/json");
  EXPECT_EQ(test::Header(got[0], "Content-Length"), std::to_string(document.size()));
  ResetReportingState();
}

}  // namespace
}  // namespace ld
