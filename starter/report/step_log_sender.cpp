#include "starter/report/step_log_sender.h"

#include <memory>

#include "core/report/step_log.h"
#include "starter/net/internet_session.h"
#include "starter/report/reporting_state.h"
#include "starter/report/sender_jobs.h"

namespace ld {
namespace {

constexpr std::size_t kPathMax = 520;

SenderJobList& StepLogJobs() {
  static SenderJobList* jobs = new SenderJobList;  // outlives late sender threads
  return *jobs;
}

class StepLogJob : public SenderJob {
 public:
  StepLogJob(const std::string& host, const std::string& path)
      : host_(host.substr(0, kSenderHostMax)), path_(path.substr(0, kPathMax)) {}

  void Send() override {
    InternetHandle root = OpenSenderRoot(kStepLogAgent);
    if (!root) return;
    InternetHandle connection = ConnectHttp(root, host_);
    if (!connection) return;
    InternetHandle request = OpenHttpRequest(connection, "GET", path_);
    if (!request) return;
    // The server's answer tells nothing; it is not read.
    ::HttpSendRequestA(request.Get(), nullptr, 0, nullptr, 0);
  }

 private:
  std::string host_;
  std::string path_;
};

}  // namespace

void StepLog(const std::string& game_id, const std::string& member_id, int step,
             GamestringFormat format) {
  try {
    StepLogRequest request;
    if (!PrepareStepLogRequest(step, game_id, member_id, format, &request)) return;
    StartStepLogSender(CurrentReportHosts().StepLog(request.host), request.path);
  } catch (...) {
    // Out of memory: the step goes unlogged, as any other failure.
  }
}

bool StartStepLogSender(const std::string& host, const std::string& path) {
  return StepLogJobs().Start(std::make_unique<StepLogJob>(host, path));
}

bool WaitForStepLogSenders(DWORD timeout_ms) { return StepLogJobs().WaitAll(timeout_ms); }

}  // namespace ld
