#include "core/report/crash_record.h"

#include <gtest/gtest.h>

#include <json/reader.h>

#include <string>
#include <vector>

#include "core/driver/hs_state.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

using test::FakeCp949ToUtf8;

CrashRecordFacts Facts() {
  CrashRecordFacts facts;
  facts.production_key = true;
  facts.version = "19.1.0.3";
  facts.previous_state = HS_STATE_READY_TO_GET_GAMEKIND;
  facts.current_state = HS_STATE_WAITING_FOR_GET_GAMEKIND;
  facts.os_major = 10;
  facts.os_minor = 0;
  facts.os_build = 19045;
  return facts;
}

Json::Value Parse(const std::string& text) {
  Json::Value value;
  Json::Reader reader;
  EXPECT_TRUE(reader.parse(text, value)) << text;
  return value;
}

TEST(CrashRecord, ExactMembersOfAFullReport) {
  CrashReport report;
  report.game_id = "trioka";
  report.member_id = "gamer";
  report.code = 0x0018000A;
  report.body = "Not enough disk space for Ludoria Files.";
  report.resource_name = "IDS_FAIL_NOTENOUGH_FREESPACE";
  report.executor = "exec-7";
  const std::string doc = CrashRecordDocument(report, Facts(), FakeCp949ToUtf8);

  // The styled writer's exact text: keys in ascending byte order.
  EXPECT_EQ(doc,
            "{\n"
            "   \"HSState\" : \"LastState( HS_STATE_READY_TO_GET_GAMEKIND ) -> CurrentState( "
            "HS_STATE_WAITING_FOR_GET_GAMEKIND )\",\n"
            "   \"body\" : \"Not enough disk space for Ludoria Files.\",\n"
            "   \"encoding\" : \"UTF-8\",\n"
            "   \"errorCode\" : \"0018000A\",\n"
            "   \"executor\" : \"exec-7\",\n"
            "   \"gameId\" : \"TRIOKA\",\n"
            "   \"logSource\" : \"windows\",\n"
            "   \"logType\" : \"quill2-http\",\n"
            "   \"osInfo\" : \"10.0.19045\",\n"
            "   \"projectName\" : \"Hs3NdY8cJw5GtE1u\",\n"
            "   \"projectVersion\" : \"19.1.0.3\",\n"
            "   \"resourceId\" : \"res Id : (IDS_FAIL_NOTENOUGH_FREESPACE)\",\n"
            "   \"userId\" : \"gamer\"\n"
            "}\n");
}

TEST(CrashRecord, WithoutBodyResourceOrExecutor) {
  CrashReport report;
  report.game_id = "g";
  report.code = 0x97;
  CrashRecordFacts facts = Facts();
  facts.production_key = false;
  facts.version.clear();
  const Json::Value v = Parse(CrashRecordDocument(report, facts, FakeCp949ToUtf8));
  EXPECT_EQ(v["body"].asString(), "");
  EXPECT_FALSE(v.isMember("resourceId"));
  EXPECT_FALSE(v.isMember("executor"));
  EXPECT_EQ(v["errorCode"].asString(), "00000097");
  EXPECT_EQ(v["projectName"].asString(), "Qm7TzR2kVb9LxW4p");
  EXPECT_EQ(v["projectVersion"].asString(), "19.0.7.14");
  EXPECT_EQ(v["userId"].asString(), "");
  EXPECT_EQ(v.size(), 11u);
}

TEST(CrashRecord, FieldForms) {
  CrashReport report;
  report.game_id = "abcdefghijklmnopqrstuvwxyz";
  report.member_id = "\xB7\xE7-id";
  report.code = 0xFFFFFFFFu;
  report.executor = "";  // given though empty: present
  CrashRecordFacts facts = Facts();
  facts.previous_state = 99;
  facts.current_state = HS_STATE_INVALID;
  const Json::Value v = Parse(CrashRecordDocument(report, facts, FakeCp949ToUtf8));
  EXPECT_EQ(v["gameId"].asString(), "ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(v["errorCode"].asString(), "FFFFFFFF");
  EXPECT_EQ(v["HSState"].asString(),
            "LastState( HS_STATE_INVALID ) -> CurrentState( HS_STATE_INVALID )");
  EXPECT_TRUE(v.isMember("executor"));
  // Code page 949 text arrives as the UTF-8 the "encoding" member promises.
  EXPECT_EQ(v["userId"].asString(), "\xEB\xA3\xA8-id");
}

TEST(CrashRecord, TextThatCannotBeConvertedStillMakesValidJson) {
  CrashReport report;
  report.body = "\xC0\xC1 quote\" backslash\\ tab\t";
  const Json::Value v = Parse(CrashRecordDocument(report, Facts(), FakeCp949ToUtf8));
  EXPECT_NE(v["body"].asString().find("quote\" backslash\\ tab\t"), std::string::npos);
}

TEST(CrashRecord, OverlongDocumentIsShortenedNotCut) {
  CrashReport report;
  report.game_id = "g";
  report.member_id = "m";
  report.body = std::string(600, 'b');
  for (int i = 0; i < 300; ++i) *report.body += "\xB7\xE7";  // 6 bytes each when written
  report.executor = std::string(3000, 'e');
  const std::string doc = CrashRecordDocument(report, Facts(), FakeCp949ToUtf8);
  ASSERT_FALSE(doc.empty());
  EXPECT_LE(doc.size(), kCrashDocumentMax);
  const Json::Value v = Parse(doc);
  EXPECT_EQ(v["body"].asString(), "");  // the event text goes first
  const std::string executor = v["executor"].asString();
  EXPECT_GT(executor.size(), 1500u);
  EXPECT_EQ(executor, std::string(executor.size(), 'e'));
  EXPECT_EQ(v["userId"].asString(), "m");
}

TEST(CrashRecord, ShorteningKeepsWholeCharacters) {
  CrashReport report;
  report.body = "";
  for (int i = 0; i < 400; ++i) *report.body += "\xB7\xE7";
  const std::string doc = CrashRecordDocument(report, Facts(), FakeCp949ToUtf8);
  ASSERT_FALSE(doc.empty());
  EXPECT_LE(doc.size(), kCrashDocumentMax);
  const std::string body = Parse(doc)["body"].asString();
  EXPECT_FALSE(body.empty());
  EXPECT_EQ(body.size() % 3, 0u);
  EXPECT_EQ(body.substr(body.size() - 3), "\xEB\xA3\xA8");
}

}  // namespace
}  // namespace ld
