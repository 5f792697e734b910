// Flags the start-up decides once and many parts of the starter read. A plain
// value owned by the application object: the main thread writes it before the
// installation driver thread starts; afterwards only current_game_id (the
// launch-string analysis, driver thread) and error_box_shown (error boxes,
// either thread; cleared when the driver starts) change.
#pragma once

#include <cstdint>
#include <string>

#include "core/launch/gamestring.h"

namespace ld {

struct ProgramFlags {
  // Detailed messages for support: marker file "_kind_.txt" beside the
  // program, or [check] strong nonzero in "ldstarter.ini".
  bool kind_mode = false;
  // The whole command line contains "ludoria://P=&"; never changes in a run.
  bool new_format = false;
  // The launch string carries a zone value (a test zone).
  bool test_zone = false;
  // [check] ShowGamestringInAlpha nonzero and a test zone: show launch strings.
  bool show_gamestring = false;
  // System tick count taken first thing at start.
  std::uint32_t start_tick = 0;
  // Game id from the command line (kind mode), later the analysed game id.
  std::string current_game_id;
  // Set by every error box; tells the driver's failure path not to add one.
  bool error_box_shown = false;

  GamestringFormat format() const {
    return new_format ? GamestringFormat::kNew : GamestringFormat::kOld;
  }
};

}  // namespace ld
