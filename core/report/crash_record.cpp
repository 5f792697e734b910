#include "core/report/crash_record.h"

#include <cstdio>

#include <json/writer.h>

#include "core/driver/hs_state.h"

namespace ld {
namespace {

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string ToUtf8(const std::string& text, const Utf8Converter& to_utf8) {
  std::string utf8;
  if (to_utf8 && to_utf8(text, &utf8)) return utf8;
  return text;
}

// Drops up to `excess` bytes from the end without splitting a UTF-8
// sequence. Returns false when there was nothing to drop.
bool Shorten(std::string* text, std::size_t excess) {
  if (text->empty()) return false;
  std::size_t keep = text->size() > excess ? text->size() - excess : 0;
  while (keep > 0 && (static_cast<unsigned char>((*text)[keep]) & 0xC0) == 0x80) --keep;
  text->resize(keep);
  return true;
}

}  // namespace

Json::Value CrashRecordValue(const CrashReport& report, const CrashRecordFacts& facts,
                             const Utf8Converter& to_utf8) {
  Json::Value record(Json::objectValue);
  record["projectName"] = facts.production_key ? kLogKeyProduction : kLogKeyTest;
  record["projectVersion"] =
      facts.version.empty() ? std::string(kFallbackProjectVersion) : ToUtf8(facts.version, to_utf8);
  record["body"] = report.body ? ToUtf8(*report.body, to_utf8) : std::string();
  if (report.resource_name) {
    record["resourceId"] = "res Id : (" + ToUtf8(*report.resource_name, to_utf8) + ")";
  }
  if (report.executor) record["executor"] = ToUtf8(*report.executor, to_utf8);

  char code[16];
  std::snprintf(code, sizeof code, "%08X", static_cast<unsigned>(report.code));
  record["errorCode"] = code;
  record["logSource"] = "windows";
  record["logType"] = "quill2-http";
  record["gameId"] = ToUtf8(UpperAscii(report.game_id.substr(0, kCrashRecordGameIdMax)), to_utf8);
  record["userId"] = ToUtf8(report.member_id, to_utf8);
  record["HSState"] = std::string("LastState( ") + HsStateName(facts.previous_state) +
                      " ) -> CurrentState( " + HsStateName(facts.current_state) + " )";
  record["encoding"] = "UTF-8";
  char os[64];
  std::snprintf(os, sizeof os, "%d.%d.%d", facts.os_major, facts.os_minor, facts.os_build);
  record["osInfo"] = os;
  return record;
}

std::string WriteCrashRecord(const Json::Value& record) {
  Json::StyledWriter writer;
  return writer.write(record);
}

std::string CrashRecordDocument(const CrashReport& report, const CrashRecordFacts& facts,
                                const Utf8Converter& to_utf8) {
  Json::Value record = CrashRecordValue(report, facts, to_utf8);
  std::string document = WriteCrashRecord(record);
  if (document.size() <= kCrashDocumentMax) return document;

  // Every byte of a text takes at least one byte of the document, so
  // dropping the excess from one text is enough unless that text runs out.
  std::string resource = report.resource_name ? ToUtf8(*report.resource_name, to_utf8) : "";
  const char* const kCuttable[] = {"body", "executor", "resourceId", "userId"};
  for (const char* member : kCuttable) {
    if (!record.isMember(member)) continue;
    while (document.size() > kCrashDocumentMax) {
      const std::size_t excess = document.size() - kCrashDocumentMax;
      if (std::string(member) == "resourceId") {
        if (!Shorten(&resource, excess)) break;
        record[member] = "res Id : (" + resource + ")";
      } else {
        std::string text = record[member].asString();
        if (!Shorten(&text, excess)) break;
        record[member] = text;
      }
      document = WriteCrashRecord(record);
    }
    if (document.size() <= kCrashDocumentMax) return document;
  }
  return std::string();
}

}  // namespace ld
