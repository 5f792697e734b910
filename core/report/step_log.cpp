#include "core/report/step_log.h"

#include <cstdio>
#include <vector>

#include "core/launch/member_id.h"
#include "core/base/url_encode.h"

namespace ld {
namespace {

// The converted member id had to fit a 260-byte buffer with its terminator.
constexpr std::size_t kUtf8MemberIdMax = 259;
constexpr std::size_t kEncodedMemberIdMax = 259;

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

int StepLogSlot(int step) {
  if (step < 200 || step > 250 || step % 2 != 0) return -1;
  if (step >= 216 && step <= 224) return -1;
  if (step == 200) return 0;
  // 202 -> 2 ... 214 -> 8 and 226 -> 14 ... 250 -> 26; slots 1 and 9-13 are
  // left unused by the steps that exist.
  if (step <= 214) return (step - 202) / 2 + 2;
  return (step - 226) / 2 + 14;
}

std::string StepLogMemberId(std::string_view member_id, bool unscramble,
                            const Utf8Converter& to_utf8) {
  std::string id(member_id.substr(0, kStepLogMemberIdMax));
  if (unscramble) {
    std::string plain = UnscrambleMemberId(id);
    if (!plain.empty()) id = std::move(plain);
  }
  std::string utf8;
  std::string encoded;
  if (to_utf8 && to_utf8(id, &utf8) && utf8.size() <= kUtf8MemberIdMax &&
      UrlEncodeBounded(utf8, kEncodedMemberIdMax, &encoded)) {
    return encoded;
  }
  return id;
}

bool StepLog::Prepare(int step, std::string_view game_id, std::string_view member_id,
                      GamestringFormat format, const Utf8Converter& to_utf8,
                      ReportingSwitches* switches, StepLogRequest* request) {
  if (!switches->step_log_enabled || step == 0) return false;
  const int slot = StepLogSlot(step);
  if (slot < 0 || sent_[slot]) return false;
  sent_[slot] = true;

  const std::string gid = UpperAscii(game_id.substr(0, kStepLogGameIdMax));
  const bool unscramble = switches->unscramble_member_id && format != GamestringFormat::kNew;
  const std::string mid = StepLogMemberId(member_id, unscramble, to_utf8);
  if (step == kStepGamestringObtained) switches->unscramble_member_id = false;

  const char* const kFormat = "/log.html?sub=base&step=%d&gid=%s&mid=%s&seq=%s";
  std::vector<char> buffer(kStepLogPathMax + 1);
  std::snprintf(buffer.data(), buffer.size(), kFormat, step, gid.c_str(), mid.c_str(),
                switches->sequence.c_str());
  request->host = switches->step_log_host;
  request->path = buffer.data();
  return true;
}

}  // namespace ld
