#include "starter/report/sender_jobs.h"

#include <algorithm>
#include <vector>

#include "starter/platform/win_handle.h"

namespace ld {

struct SenderJobList::ThreadStart {
  SenderJobList* list;
  int sequence;
  std::unique_ptr<SenderJob> job;
};

bool SenderJobList::Start(std::unique_ptr<SenderJob> job) {
  auto start = std::make_unique<ThreadStart>();
  start->list = this;
  start->job = std::move(job);
  // Created suspended so its entry is in the list before it can end and
  // look for it.
  std::lock_guard<std::mutex> guard(lock_);
  start->sequence = counter_;
  HANDLE thread = ::CreateThread(nullptr, 0, &SenderJobList::ThreadMain, start.get(),
                                 CREATE_SUSPENDED, nullptr);
  if (thread == nullptr) return false;
  running_[start->sequence] = thread;
  ++counter_;
  start.release();
  ::ResumeThread(thread);
  return true;
}

DWORD WINAPI SenderJobList::ThreadMain(void* param) {
  std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(param));
  try {
    start->job->Send();
  } catch (...) {
    // A report must never take the program down.
  }
  start->job.reset();
  start->list->Finished(start->sequence);
  return 0;
}

void SenderJobList::Finished(int sequence) {
  std::lock_guard<std::mutex> guard(lock_);
  auto it = running_.find(sequence);
  if (it == running_.end()) return;  // WaitAll gave up on it and closed the handle
  ::CloseHandle(it->second);
  running_.erase(it);
}

bool SenderJobList::WaitAll(DWORD timeout_ms) {
  // Wait on duplicates: a job that ends meanwhile closes its own handle.
  std::vector<KernelHandle> threads;
  {
    std::lock_guard<std::mutex> guard(lock_);
    for (const auto& entry : running_) {
      HANDLE copy = nullptr;
      if (::DuplicateHandle(::GetCurrentProcess(), entry.second, ::GetCurrentProcess(), &copy,
                            SYNCHRONIZE, FALSE, 0)) {
        threads.emplace_back(copy);
      }
    }
  }
  const DWORD start = ::GetTickCount();
  bool all_ended = true;
  for (std::size_t i = 0; i < threads.size(); i += MAXIMUM_WAIT_OBJECTS) {
    const DWORD spent = ::GetTickCount() - start;
    const DWORD left = spent >= timeout_ms ? 0 : timeout_ms - spent;
    const std::size_t count = std::min<std::size_t>(MAXIMUM_WAIT_OBJECTS, threads.size() - i);
    std::vector<HANDLE> handles;
    for (std::size_t k = 0; k < count; ++k) handles.push_back(threads[i + k].Get());
    const DWORD result =
        ::WaitForMultipleObjects(static_cast<DWORD>(count), handles.data(), TRUE, left);
    if (result == WAIT_TIMEOUT || result == WAIT_FAILED) all_ended = false;
  }
  std::lock_guard<std::mutex> guard(lock_);
  for (const auto& entry : running_) ::CloseHandle(entry.second);
  running_.clear();
  return all_ended;
}

std::size_t SenderJobList::Running() {
  std::lock_guard<std::mutex> guard(lock_);
  return running_.size();
}

}  // namespace ld
