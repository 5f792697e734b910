// The reporting switches a run takes from its first gamestring: whether and
// where the step log goes, its sequence text, whether member ids are
// unscrambled, and which application key the remote log uses.
//
// One ReportingSwitches lives for the whole process (the starter keeps it);
// the main thread reads the switches at window initialisation, before any
// report or step log is sent; afterwards the step log changes only the
// unscrambling switch, under its own lock.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/launch/gamestring.h"

namespace ld {

// The step-log sequence text is carried in a 260-byte field.
inline constexpr std::size_t kStepLogSequenceMax = 259;

enum class StepLogHost { kAlphaZone, kRealZone };

struct ReportingSwitches {
  bool read_once = false;
  bool step_log_enabled = false;
  StepLogHost step_log_host = StepLogHost::kAlphaZone;
  std::string sequence;  // "k410e=" value, at most kStepLogSequenceMax bytes
  bool unscramble_member_id = true;
  bool production_log_key = false;  // false: the test key of the remote log
};

// Reads the step-log switches from the first gamestring once per run; later
// calls return -1 and change nothing. Returns the position of the third
// letter of the "k401e=" value when that letter is "y" or "Y" (the caller
// writes "H" there), else -1. Only letters inside the value count: a value
// shorter than two or three letters switches nothing and rewrites nothing, so
// a following pair is never touched. A null text only resets the switches.
int ReadStepLogSwitches(const char* first_gamestring, ReportingSwitches* switches);

// Chooses the remote log's application key: the production key when the
// first gamestring's "P189=" (new format) or "p189=" (old format) pair is
// missing or empty, the test key otherwise. May be called again; the last
// reading wins.
void ReadRemoteLogSwitch(std::string_view first_gamestring, GamestringFormat format,
                         ReportingSwitches* switches);

}  // namespace ld
