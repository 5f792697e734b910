// The log-and-crash record: one JSON document per notable event, for the
// remote collection service. Pure logic; the starter's report sender posts
// the document. Callable from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <json/value.h>

#include "core/base/text_converter.h"

namespace ld {

// Application keys of the log service; the launch string chooses one at start.
inline constexpr char kLogKeyTest[] = "Qm7TzR2kVb9LxW4p";
inline constexpr char kLogKeyProduction[] = "Hs3NdY8cJw5GtE1u";
// Reported while the starter's version text is still empty.
inline constexpr char kFallbackProjectVersion[] = "19.0.7.14";
inline constexpr std::size_t kCrashRecordGameIdMax = 19;
// The collection request carries at most this many bytes of document.
inline constexpr std::size_t kCrashDocumentMax = 2047;

// What the caller reports. Texts are in code page 949 as the program holds
// them; absent optionals leave their members out ("body" becomes "").
struct CrashReport {
  std::string game_id;
  std::string member_id;
  uint32_t code = 0;
  std::optional<std::string> body;
  std::optional<std::string> resource_name;
  std::optional<std::string> executor;
};

// Facts of the program and the system at the moment of the report.
struct CrashRecordFacts {
  bool production_key = false;
  std::string version;     // the starter's version text, may be empty
  int previous_state = 0;  // HS_STATE values
  int current_state = 0;
  int os_major = 0;
  int os_minor = 0;
  int os_build = 0;
};

// The record as a JSON object. Every text is converted to UTF-8 with
// `to_utf8` first (kept as it is when that fails or no converter is given),
// so the document really is what its "encoding" member says.
Json::Value CrashRecordValue(const CrashReport& report, const CrashRecordFacts& facts,
                             const Utf8Converter& to_utf8);

// The styled-writer text of a record (members in ascending key order).
std::string WriteCrashRecord(const Json::Value& record);

// The document to post: the styled text of the record, at most
// kCrashDocumentMax bytes. An over-long document is never cut in the middle
// (the service would get broken JSON): the event text is shortened first,
// then the executor, the resource name and the member id, each at a UTF-8
// character boundary. Empty only when even that cannot make it fit.
std::string CrashRecordDocument(const CrashReport& report, const CrashRecordFacts& facts,
                                const Utf8Converter& to_utf8);

}  // namespace ld
