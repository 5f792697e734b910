// The step log: a bare GET of "/log.html?sub=base&step=..." on the step-log
// server, at most once per step and only when the launch string asks for it
// (reporting_state.h holds the switches). Each request runs on a short-lived
// thread of its own ("WebServerLog" agent) that reads no answer.
//
// Threads: StepLog is called from the main thread and the installation driver
// thread; WaitForStepLogSenders by the driver at its end.
#pragma once

#include <windows.h>

#include <string>

#include "core/launch/gamestring.h"

namespace ld {

inline constexpr char kStepLogAgent[] = "WebServerLog";
inline constexpr DWORD kStepLogWaitMs = 3000;

// Sends step `step` for the game and member of the launch string, unless the
// step log is off, the step has no slot or was sent before. `member_id` is as
// the launch string holds it (code page 949, maybe scrambled). Failures are
// silent.
void StepLog(const std::string& game_id, const std::string& member_id, int step,
             GamestringFormat format);

// Starts a sender for a ready path on `host`. False when it was dropped.
bool StartStepLogSender(const std::string& host, const std::string& path);

// Waits at most timeout_ms for all running step-log senders together, then
// forgets them. True when all had ended.
bool WaitForStepLogSenders(DWORD timeout_ms = kStepLogWaitMs);

}  // namespace ld
