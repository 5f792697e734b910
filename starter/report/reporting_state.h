// Process-wide state of remote reporting: the switches taken from the first
// gamestring, the sent-step marks, the service hosts and the hooks through
// which the log-and-crash record learns the program's version text and
// installation states. The senders (report_sender.h, step_log_sender.h) read
// it; nothing else needs to.
//
// Threads: the main thread sets hosts and hooks and reads the switches at
// start-up, before any report; reports and step logs come from the main and
// the driver threads afterwards. One lock guards all of it, so the step-log
// decision (mark a step, switch unscrambling off) is atomic and a step
// reported from two threads at once goes out once.
#pragma once

#include <functional>
#include <string>

#include "core/launch/gamestring.h"
#include "core/report/report_hosts.h"
#include "core/report/step_log.h"
#include "core/report/step_log_switches.h"

namespace ld {

// Facts the record takes from other parts of the starter. Either may be
// empty: the version text is then empty ("19.0.7.14" is reported) and both
// states are HS_STATE_INITIAL. Called on the reporting thread.
struct ReportFactHooks {
  std::function<std::string()> version_text;
  std::function<void(int* previous_state, int* current_state)> states;
};

// Reads the step-log switches from the first gamestring, once per run (main
// thread, window initialisation). Returns the position of the k401e letter
// the caller turns into "H", or -1.
int ReadStepLogSwitches(const std::string& first_gamestring);

// Chooses the remote log's application key from the first gamestring (main
// thread, right after ReadStepLogSwitches).
void ReadRemoteLogSwitch(const std::string& first_gamestring, GamestringFormat format);

// Hosts of the collection service and the step-log servers; the compiled-in
// defaults until the start-up hands over the ones of "ldstarter.ini".
void SetReportHosts(const ReportHosts& hosts);
ReportHosts CurrentReportHosts();

void SetReportFactHooks(ReportFactHooks hooks);

// Snapshot of the switches (any thread).
ReportingSwitches CurrentReportingSwitches();

// The step-log decision of core/report/step_log.h under the lock, with the system's
// code page 949 conversion. True when a request must go out.
bool PrepareStepLogRequest(int step, const std::string& game_id, const std::string& member_id,
                           GamestringFormat format, StepLogRequest* request);

// Version text and states through the hooks (reporting thread).
std::string ReportVersionText();
void ReportStates(int* previous_state, int* current_state);

// Back to the state of a fresh process: switches unread, no step marked,
// default hosts, no hooks. For tests, which run many "runs" in one process.
void ResetReportingState();

}  // namespace ld
