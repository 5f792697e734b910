#include "core/driver/driver_rules.h"

namespace ld {

std::string PackageFailureStep(const std::string& package_name) {
  std::string step = "download." + package_name;
  if (step.size() > kFailureStepMax) step.resize(kFailureStepMax);
  return step;
}

InstallStates StatesAfterFileCheck(InstallStates states, const std::vector<std::uint32_t>& bytes) {
  if (states.folder == 2) {
    for (std::size_t i = 1; i < bytes.size(); ++i) {
      if (bytes[i] > 0) {
        states.folder = 1;
        break;
      }
    }
  }
  if (states.game_key == 2 && !bytes.empty() && bytes[0] > 0) states.game_key = 1;
  return states;
}

}  // namespace ld
