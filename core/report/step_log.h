// The step log: which installation steps are reported, once each, and the
// request that reports one. Pure logic; the starter's sender makes the
// request. A StepLog object lives for the run; its user serialises calls (the
// starter's sender holds a lock around Prepare), so a step reported from two
// threads at once still goes out once.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/launch/gamestring.h"
#include "core/report/step_log_switches.h"
#include "core/base/text_converter.h"

namespace ld {

inline constexpr int kStepLogSlotCount = 27;
inline constexpr std::size_t kStepLogGameIdMax = 19;
inline constexpr std::size_t kStepLogMemberIdMax = 42;
inline constexpr std::size_t kStepLogPathMax = 259;
// The step after which the launch string's member id is already plain.
inline constexpr int kStepGamestringObtained = 212;

// Slot of a step number, or -1 for steps that are never sent (odd numbers,
// 216 to 224, anything outside 200 to 250).
int StepLogSlot(int step);

struct StepLogRequest {
  StepLogHost host = StepLogHost::kRealZone;
  std::string path;  // "/log.html?sub=base&step=..." at most kStepLogPathMax bytes
};

class StepLog {
 public:
  // Decides whether `step` goes out. Returns false when the step log is off,
  // the step has no slot, or it was sent before; otherwise marks the step and
  // fills *request. `member_id` is in code page 949 as the launch string
  // holds it; it is unscrambled while `switches` says so (old format only),
  // converted to UTF-8 with `to_utf8` and URL-encoded, and sent as it stands
  // when either fails. Step 212 switches unscrambling off for the run.
  bool Prepare(int step, std::string_view game_id, std::string_view member_id,
               GamestringFormat format, const Utf8Converter& to_utf8, ReportingSwitches* switches,
               StepLogRequest* request);

  // Forgets every mark (a new run in the same process: tests).
  void Reset() { sent_.fill(false); }

 private:
  std::array<bool, kStepLogSlotCount> sent_{};
};

// The member id as the step log sends it (steps 2-5 of a request, without
// the switch change of step 212). Exposed for tests and ldtool.
std::string StepLogMemberId(std::string_view member_id, bool unscramble,
                            const Utf8Converter& to_utf8);

}  // namespace ld
