// Decisions of the installation driver that do not need the system: the
// failure step texts, the correction of the install states after the file
// check, and when the end of a run shows the fatal box. Pure; driver thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ld {

// The failure step is kept in a 64-byte field.
inline constexpr std::size_t kFailureStepMax = 63;

// "download." + the package's name, at most kFailureStepMax characters.
std::string PackageFailureStep(const std::string& package_name);

// The install-folder and game-key states as the file check leaves them:
// a folder recorded as present (2) counts as written in this run (1) when a
// base package (any after the first) has bytes to fetch; a game key recorded
// as present counts as written when the game's own package (the first) has.
struct InstallStates {
  std::uint32_t folder = 0;
  std::uint32_t game_key = 0;
};
InstallStates StatesAfterFileCheck(InstallStates states, const std::vector<std::uint32_t>& bytes);

// Both states say the game was complete before this run.
inline bool WasComplete(const InstallStates& states) {
  return states.folder == 2 && states.game_key == 2;
}

// The fatal box closes a run only when a step failed, the user did not stop
// it and no error box told the user about the failure already.
inline bool ShowsFatalBox(bool failure_step_set, bool stopped, bool error_box_shown) {
  return failure_step_set && !stopped && !error_box_shown;
}

// Result bit the setup package installation sets for the package at `index`.
inline std::uint32_t SetupResultBit(std::size_t index) {
  return std::uint32_t{1} << ((index + 1) % 32);
}

}  // namespace ld
