// The launch-string record: the launch string in its stages and the values
// taken from it. One lives in the application object; the main thread fills
// the first gamestring at start, the installation driver thread (and the
// refresh timer on the main thread, which the driver's steps never overlap
// with while it analyses) fill the rest.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/launch/program_flags.h"

namespace ld {

// Capacities the game and the registry records were built around.
inline constexpr std::size_t kGameIdCapacity = 10;
inline constexpr std::size_t kMemberIdCapacity = 50;

// Values the new-format analysis takes from the zone rather than the text.
struct NewFormatSources {
  std::string download_root;  // zone's game download root, without "/"
  std::string home_address;   // the portal's home page
};

struct LaunchRecord {
  std::string first_gamestring;   // as given on the command line
  std::string canonical_address;  // of the gamestring server request
  std::string second_gamestring;  // from the server (old) or a copy (new)
  std::string third_gamestring;   // handed to the game
  std::string game_id;            // at most kGameIdCapacity bytes
  std::string game_title;
  std::string download_root;
  std::string home_address;
  std::string hul_root;        // update-list root
  std::string game_code;       // game name: registry "Name", shortcut fallback
  double version = 0;          // stored with two decimals
  std::string member_id;       // at most kMemberIdCapacity bytes
  std::string identifier;      // the cookie
  std::string p0, p1, p4, p8;  // raw (still base64) new-format values
  std::string executor;
  int zone_number = 0;  // 0..5
  int age_class = 0;    // 0, 1, 2

  // All texts empty, numbers 0.
  void Reset();

  // Copy into the capacity-limited fields, cutting longer values.
  void CopyGameId(std::string_view id);
  void CopyMemberId(std::string_view id);

  // Analyses second_gamestring in the channel form:
  //   [... "ludoria://"] game-id "channel://" ... "metp://" a/b/c/ ... ";" fields
  // Returns false with *failure_word set to "gameid" (game id over capacity),
  // "metp", "slash", "semicolon" or "alloc" (out of memory), or left empty
  // when there is no "channel://" (an expired answer). On success each field
  // is written only when its value is not empty, and the game id also becomes
  // flags.current_game_id. On failure the record is left unchanged.
  bool AnalyseOldFormat(ProgramFlags& flags, std::string* failure_word);

  // Analyses a P-form second_gamestring: game id from P1 (decoded, then
  // lower-cased), member id from P0, the roots from sources. Fails only with
  // "gameid" (decoded P1 over capacity) or "alloc". The title is the portal's
  // Korean name, UTF-8 in native builds and code page 949 in Windows builds.
  bool AnalyseNewFormat(const NewFormatSources& sources, ProgramFlags& flags,
                        std::string* failure_word);
};

}  // namespace ld
