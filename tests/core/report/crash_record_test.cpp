#include "core/report/crash_record.h"

#include <gtest/gtest.h>

#include <json/reader.h>

#include "core/driver/hs_state.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

const CrashRecordFacts kFacts{
    true, "19.1.0.3", HS_STATE_READY_TO_GET_GAMEKIND, HS_STATE_WAITING_FOR_GET_GAMEKIND, 10,
    0,    19045};

TEST(CrashRecord, MembersOfAFullReport) {
  const CrashReport report{"trioka", "gamer", 0x0018000A, "No space.", "IDS_X", "exec-7"};
  const std::string doc = CrashRecordDocument(report, kFacts, test::FakeCp949ToUtf8);
  // The styled writer's text, keys in ascending byte order.
  std::size_t at = 0;
  for (const char* member :
       {"{\n   \"HSState\" : \"LastState( HS_STATE_READY_TO_GET_GAMEKIND ) -> CurrentState( "
        "HS_STATE_WAITING_FOR_GET_GAMEKIND )\",\n   \"body\" : \"No space.\"",
        "\"encoding\" : \"UTF-8\"", "\"errorCode\" : \"0018000A\"", "\"executor\" : \"exec-7\"",
        "\"gameId\" : \"TRIOKA\"", "\"logSource\" : \"windows\"", "\"logType\" : \"quill2-http\"",
        "\"osInfo\" : \"10.0.19045\"", "\"projectName\" : \"Hs3NdY8cJw5GtE1u\"",
        "\"projectVersion\" : \"19.1.0.3\"", "\"resourceId\" : \"res Id : (IDS_X)\"",
        "\"userId\" : \"gamer\"\n}\n"})
    EXPECT_NE(at = doc.find(member, at), std::string::npos) << member;  // in this order
}

// Too long a document loses text from the end of its members, body first,
// never half a character.
TEST(CrashRecord, OverlongDocumentIsShortenedNotCut) {
  CrashReport report{"abcdefghijklmnopqrstuvwxyz", "\xB7\xE7", 0, "", {}, {}};
  for (int i = 0; i < 400; ++i) *report.body += "\xB7\xE7";
  for (bool with_executor : {false, true}) {
    if (with_executor) report.executor = std::string(3000, 'e');
    const std::string doc = CrashRecordDocument(report, kFacts, test::FakeCp949ToUtf8);
    EXPECT_LE(doc.size(), kCrashDocumentMax);
    Json::Value v;
    ASSERT_TRUE(Json::Reader().parse(doc, v)) << doc;
    const std::string body = v["body"].asString();
    EXPECT_TRUE(body.size() % 3 == 0 && body.empty() == with_executor);
    EXPECT_EQ(v["executor"].asString().size() > 1500, with_executor);
    EXPECT_EQ(v["userId"].asString(), "\xEB\xA3\xA8");  // a document that just fits is kept
  }
}

}  // namespace
}  // namespace ld
