#include "core/ui/countdown.h"

namespace ld {

void Countdown::Arm() {
  if (state_ == CountdownState::kNotArmed) state_ = CountdownState::kArmed;
}

std::optional<std::uint32_t> Countdown::Start(std::uint32_t now, bool panel_ready) {
  if (state_ != CountdownState::kArmed) return std::nullopt;
  start_tick_ = now;
  state_ = CountdownState::kRunning;
  return panel_ready ? kCountdownShortMs : kCountdownFullMs;
}

Countdown::Remaining Countdown::Query(std::uint32_t now, bool panel_ready) {
  Remaining answer;
  switch (state_) {
    case CountdownState::kFinished:
      return answer;
    case CountdownState::kNotArmed:
    case CountdownState::kArmed:
      answer.ms = kCountdownFullMs;
      return answer;
    case CountdownState::kRunning:
      break;
  }
  // Unsigned subtraction first: the tick count wraps after 49.7 days.
  const std::uint32_t elapsed = now - start_tick_;
  answer.ms = static_cast<std::int64_t>(shortened_ ? kCountdownShortMs : kCountdownFullMs) -
              static_cast<std::int64_t>(elapsed);
  if (answer.ms > static_cast<std::int64_t>(kCountdownShortMs) && panel_ready) {
    start_tick_ = now;
    shortened_ = true;
    answer.ms = kCountdownShortMs;
    answer.restart_ms = kCountdownShortMs;
  }
  return answer;
}

std::optional<std::uint32_t> CountdownSeconds(std::int64_t remaining_ms) {
  if (remaining_ms < 0) return 0u;
  const std::int64_t seconds = (remaining_ms + 999) / 1000;
  if (seconds > static_cast<std::int64_t>(kCountdownShownSeconds)) return std::nullopt;
  return static_cast<std::uint32_t>(seconds);
}

}  // namespace ld
