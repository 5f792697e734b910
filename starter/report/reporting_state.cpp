#include "starter/report/reporting_state.h"

#include <mutex>

#include "core/driver/hs_state.h"
#include "starter/platform/code_page.h"

namespace ld {
namespace {

struct State {
  std::mutex lock;
  ReportingSwitches switches;
  StepLog step_log;
  ReportHosts hosts;
  ReportFactHooks hooks;
};

// Never destroyed: sender threads may still run while the process exits.
State& Shared() {
  static State* state = new State;
  return *state;
}

}  // namespace

int ReadStepLogSwitches(const std::string& first_gamestring) {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  return ld::ReadStepLogSwitches(first_gamestring.c_str(), &s.switches);
}

void ReadRemoteLogSwitch(const std::string& first_gamestring, GamestringFormat format) {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  ld::ReadRemoteLogSwitch(first_gamestring, format, &s.switches);
}

void SetReportHosts(const ReportHosts& hosts) {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  s.hosts = hosts;
}

ReportHosts CurrentReportHosts() {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  return s.hosts;
}

void SetReportFactHooks(ReportFactHooks hooks) {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  s.hooks = std::move(hooks);
}

ReportingSwitches CurrentReportingSwitches() {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  return s.switches;
}

bool PrepareStepLogRequest(int step, const std::string& game_id, const std::string& member_id,
                           GamestringFormat format, StepLogRequest* request) {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  return s.step_log.Prepare(step, game_id, member_id, format, Cp949ToUtf8, &s.switches, request);
}

std::string ReportVersionText() {
  std::function<std::string()> hook;
  {
    State& s = Shared();
    std::lock_guard<std::mutex> guard(s.lock);
    hook = s.hooks.version_text;
  }
  return hook ? hook() : std::string();
}

void ReportStates(int* previous_state, int* current_state) {
  *previous_state = HS_STATE_INITIAL;
  *current_state = HS_STATE_INITIAL;
  std::function<void(int*, int*)> hook;
  {
    State& s = Shared();
    std::lock_guard<std::mutex> guard(s.lock);
    hook = s.hooks.states;
  }
  if (hook) hook(previous_state, current_state);
}

void ResetReportingState() {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  s.switches = ReportingSwitches();
  s.step_log.Reset();
  s.hosts = ReportHosts();
  s.hooks = ReportFactHooks();
}

}  // namespace ld
