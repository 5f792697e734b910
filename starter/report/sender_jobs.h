// Short-lived sender threads of the reporting module and the list that keeps
// track of them. Each log-and-crash record and each step-log request runs on
// a thread of its own; a list per kind keeps (sequence number, thread
// handle) of the running ones so the driver can wait for the step-log jobs
// at its end.
//
// Threads: Start is called by whichever thread reports (main or driver);
// each job thread removes its own entry when it ends; WaitAll is called by
// the driver at its end (and by tests). A lock guards the list, so a job that
// ends while another starts or while WaitAll runs is safe.
#pragma once

#include <windows.h>

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>

namespace ld {

// One request to send. The job owns its texts; the thread frees the job
// when Send returns.
class SenderJob {
 public:
  virtual ~SenderJob() = default;
  // Runs on the job's own thread. Must not throw; failures end it silently.
  virtual void Send() = 0;
};

class SenderJobList {
 public:
  SenderJobList() = default;
  SenderJobList(const SenderJobList&) = delete;
  SenderJobList& operator=(const SenderJobList&) = delete;

  // Starts `job` on a new thread under the next sequence number. Returns
  // false when no thread could be started; the job is then dropped.
  bool Start(std::unique_ptr<SenderJob> job);

  // Waits at most timeout_ms for all jobs running now, together; then closes
  // their handles and empties the list (jobs still running finish unseen).
  // Returns true when all had ended in time.
  bool WaitAll(DWORD timeout_ms);

  std::size_t Running();

 private:
  struct ThreadStart;
  static DWORD WINAPI ThreadMain(void* param);
  void Finished(int sequence);

  std::mutex lock_;
  std::map<int, HANDLE> running_;  // sequence number -> thread handle
  int counter_ = 0;
};

}  // namespace ld
