// The countdown that holds the game start until the advertisement panel has
// been visible for a while: 5000 ms after the panel finished loading, or
// 7000 ms after the countdown started without it.
//
// Pure state machine over tick counts (milliseconds, wrapping 32-bit values as
// the system tick gives them). The installation window owns one and runs its
// timer; it is touched on the window's thread only.
#pragma once

#include <cstdint>
#include <optional>

namespace ld {

inline constexpr std::uint32_t kCountdownFullMs = 7000;
inline constexpr std::uint32_t kCountdownShortMs = 5000;
// The remaining seconds are shown only from this value down.
inline constexpr std::uint32_t kCountdownShownSeconds = 5;

enum class CountdownState : int { kNotArmed = 0, kArmed = 1, kRunning = 2, kFinished = 3 };

class Countdown {
 public:
  // Answer of a remaining-time query. `restart_ms` is set when the countdown
  // was just restarted shortened: the owner must (re)start its timer with it.
  struct Remaining {
    std::int64_t ms = 0;
    std::optional<std::uint32_t> restart_ms;
  };

  // A page that holds the game start was built: not armed becomes armed.
  void Arm();

  // Starts an armed countdown at `now`. Returns the timer period (5000 ms when
  // the panel is ready, else 7000 ms), or nothing when it was not armed.
  std::optional<std::uint32_t> Start(std::uint32_t now, bool panel_ready);

  // Time left at `now`. Finished gives 0; not armed and armed give 7000.
  // Running: the period (5000 once shortened, else 7000) minus the time since
  // the start; when that exceeds 5000 and the panel is ready now, the
  // countdown restarts shortened at `now` and 5000 is left.
  Remaining Query(std::uint32_t now, bool panel_ready);

  // The driver's wait is over.
  void Finish() { state_ = CountdownState::kFinished; }

  CountdownState state() const { return state_; }
  bool shortened() const { return shortened_; }

 private:
  CountdownState state_ = CountdownState::kNotArmed;
  std::uint32_t start_tick_ = 0;
  bool shortened_ = false;
};

// Seconds to show for `remaining_ms`, rounded up (0 for a negative time), or
// nothing while more than kCountdownShownSeconds are left.
std::optional<std::uint32_t> CountdownSeconds(std::int64_t remaining_ms);

}  // namespace ld
