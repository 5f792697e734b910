#include "core/report/step_log_switches.h"

#include <algorithm>

namespace ld {
namespace {

bool IsYes(char c) { return c == 'y' || c == 'Y'; }

}  // namespace

int ReadStepLogSwitches(const char* first_gamestring, ReportingSwitches* switches) {
  if (switches->read_once) return -1;
  switches->read_once = true;
  switches->unscramble_member_id = true;
  switches->step_log_enabled = false;
  switches->step_log_host = StepLogHost::kAlphaZone;
  if (first_gamestring == nullptr) return -1;
  const std::string_view text(first_gamestring);

  int letter = -1;
  static constexpr std::string_view kSwitchKey = "k401e=";
  const std::size_t key = text.find(kSwitchKey);
  if (key != std::string_view::npos) {
    const std::size_t value = key + kSwitchKey.size();
    std::size_t value_end = text.find('&', value);
    if (value_end == std::string_view::npos) value_end = text.size();
    // The first letter belongs to the portal and is never looked at.
    if (value + 1 < value_end && IsYes(text[value + 1])) switches->step_log_enabled = true;
    if (value + 2 < value_end && IsYes(text[value + 2])) letter = static_cast<int>(value + 2);
  }

  if (text.find("&p189=") == std::string_view::npos) {
    switches->step_log_host = StepLogHost::kRealZone;
  }

  static constexpr std::string_view kSequenceKey = "k410e=";
  const std::size_t seq = text.find(kSequenceKey);
  if (seq != std::string_view::npos) {
    const std::size_t from = seq + kSequenceKey.size();
    std::size_t to = text.find('&', from);
    if (to == std::string_view::npos) to = text.size();
    // The sequence text is an opaque id; a longer one is cut to the field.
    switches->sequence = std::string(text.substr(from, std::min(to - from, kStepLogSequenceMax)));
  }
  return letter;
}

void ReadRemoteLogSwitch(std::string_view first_gamestring, GamestringFormat format,
                         ReportingSwitches* switches) {
  std::string value;
  const bool found = PairValue(first_gamestring,
                               format == GamestringFormat::kNew ? "P189=" : "p189=", &value) != 0;
  switches->production_log_key = !found || value.empty();
}

}  // namespace ld
