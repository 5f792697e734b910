// The launch-string getters, the in-place editing operations and the record's
// analysis of both grammars, on arbitrary command-line text.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "core/launch/gamestring.h"
#include "core/launch/gamestring_edit.h"
#include "core/launch/launch_record.h"
#include "fuzz/fuzz_check.h"

namespace {

bool HasAny(const std::string& s, const char* bytes) {
  return s.find_first_of(bytes) != std::string::npos;
}

void CheckGetters(const std::string& text, const std::string& key) {
  using namespace ld;
  const GamestringFormat format = FormatOfCommandLine(text);
  LD_FUZZ_CHECK((format == GamestringFormat::kNew) ==
                (text.find(kNewFormatMarker) != std::string::npos));

  const std::size_t behind = SkipPrefix(text, key);
  if (behind != std::string_view::npos) {
    LD_FUZZ_CHECK(behind >= key.size() && behind <= text.size());
    LD_FUZZ_CHECK(text.compare(behind - key.size(), key.size(), key) == 0);
  }

  std::string value = "untouched";
  const std::size_t found = PairValue(text, key, &value);
  if (found == 0) {
    LD_FUZZ_CHECK(value == "untouched");
  } else {
    LD_FUZZ_CHECK(found == key.size() && value.find('&') == std::string::npos);
    LD_FUZZ_CHECK(value.size() <= text.size());
  }
  LD_FUZZ_CHECK(AnalysisValue(text, key).find('&') == std::string::npos);

  bool named = false;
  const std::string decoded = NamedParameter(text, key, &named);
  LD_FUZZ_CHECK(named || decoded.empty());
  LD_FUZZ_CHECK(decoded.find('\0') == std::string::npos);

  LD_FUZZ_CHECK(HasPair(key, text) == (text.find(key + "=") != std::string::npos));
  for (GamestringFormat f : {GamestringFormat::kOld, GamestringFormat::kNew}) {
    ZoneCode(text, f);
    GameIdOfGamestring(text, f);
  }

  // atoi's reading, but clamped: strtol over a NUL-ended copy is the oracle.
  const std::string c_text = text.substr(0, text.find('\0'));
  long expected = std::strtol(c_text.c_str(), nullptr, 10);
  if (expected > INT_MAX) expected = INT_MAX;
  if (expected < INT_MIN) expected = INT_MIN;
  LD_FUZZ_CHECK(LeadingInt(c_text) == expected);
}

void CheckEdits(std::string text, const std::string& key, const std::string& value,
                const std::string& anchor) {
  using namespace ld;
  std::string edited = text;
  SetPair(edited, key, value, anchor);
  // A key that cannot be mistaken for a value, and a value that cannot end
  // the pair early, are always findable afterwards.
  if (!key.empty() && !HasAny(key, "&= ") && !HasAny(value, "&= "))
    LD_FUZZ_CHECK(HasPair(key, edited));

  std::string removed = text;
  if (RemovePair(removed, key))
    LD_FUZZ_CHECK(removed.size() < text.size());
  else
    LD_FUZZ_CHECK(removed == text);
}

void CheckAnalysis(const std::string& text, const std::string& root, const std::string& home) {
  using namespace ld;
  for (bool new_format : {false, true}) {
    LaunchRecord record;
    record.second_gamestring = text;
    record.game_id = "before";
    const LaunchRecord before = record;
    ProgramFlags flags;
    flags.new_format = new_format;
    std::string failure;
    const bool ok = new_format ? record.AnalyseNewFormat({root, home}, flags, &failure)
                               : record.AnalyseOldFormat(flags, &failure);
    if (ok) {
      LD_FUZZ_CHECK(record.game_id.size() <= kGameIdCapacity);
      LD_FUZZ_CHECK(record.member_id.size() <= kMemberIdCapacity);
    } else {
      LD_FUZZ_CHECK(record.game_id == before.game_id && record.member_id == before.member_id &&
                    record.download_root == before.download_root &&
                    record.hul_root == before.hul_root && record.version == before.version);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string key = input.ConsumeRandomLengthString(16);
  const std::string value = input.ConsumeRandomLengthString(32);
  const std::string anchor = input.ConsumeRandomLengthString(8);
  const std::string text = input.ConsumeRemainingBytesAsString();
  CheckGetters(text, key);
  CheckEdits(text, key, value, anchor);
  CheckAnalysis(text, value, anchor);
  return 0;
}
