// The installation itself, on a thread of its own: version check, starter
// data folder, removal of the old starter, writing the carried starter with
// progress, hidden attribute.
//
// The dialog thread creates the context, starts InstallWorker with it and
// keeps it alive until the thread has ended. The worker only writes the
// shared fields, invalidates the dialog's progress area and posts
// kMsgWorkerDone; it never calls into the dialog otherwise.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "installer/version_check.h"

namespace ld::installer {

// Posted to the dialog when the worker has set its final state; the dialog
// then shows its final buttons.
constexpr UINT kMsgWorkerDone = WM_APP + 1;

enum DialogState : long {
  kStateReady = 0,
  kStateInstalling = 1,
  kStateDone = 2,
  kStateOutdated = 3,
  kStateFailed = 4,
};

enum ResultCode : long {
  kResultInstalled = 0,
  kResultNoThread = 1,
  kResultNoAppData = 11,
  kResultNoDataFolder = 12,
  kResultCannotDelete = 21,
  kResultResourceBase = 30,  // + the code of WriteCarriedStarter, 31..36
  kResultWrittenFileMissing = 41,
  kResultOutdated = 100,
};

// Where the progress bar lies in the dialog's client area.
constexpr RECT kProgressRect = {53, 182, 353, 188};

// Lets the dialog hold the worker at its next safe point while it asks the
// user whether to stop, and stop it there. The worker is never suspended
// from outside: a thread frozen inside a heap or window-manager lock would
// hang the question box that the dialog shows meanwhile.
class PauseGate {
 public:
  PauseGate() : go_(::CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}
  ~PauseGate() {
    if (go_) ::CloseHandle(go_);
  }
  PauseGate(const PauseGate&) = delete;
  PauseGate& operator=(const PauseGate&) = delete;

  // Dialog thread.
  void Hold() { ::ResetEvent(go_); }
  void Release() { ::SetEvent(go_); }
  void Cancel() {
    cancelled_ = true;
    ::SetEvent(go_);
  }
  // Worker: waits while held; false once the installation is cancelled.
  bool Pass() {
    ::WaitForSingleObject(go_, INFINITE);
    return !cancelled_;
  }

 private:
  HANDLE go_;
  std::atomic<bool> cancelled_{false};
};

struct WorkerContext {
  HWND dialog = nullptr;
  DownloadHosts hosts;
  PauseGate gate;
  // Written by the worker, read by the dialog thread while painting.
  std::atomic<long> state{kStateReady};
  std::atomic<long> percent{0};
  std::atomic<long> result{kResultInstalled};
  std::atomic<long> error{0};
};

// Thread entry; `param` is the WorkerContext. Catches everything.
DWORD WINAPI InstallWorker(void* param);

// Writes resource 134 of this program to `target` in pieces of at most
// 1024 bytes, updating `context`'s percent after each. Returns 0, or 1 not
// found, 2 not loadable, 3 empty, 4 not lockable, 5 target not creatable,
// 6 short write (with the Windows error in `*error`); -1 when cancelled. On
// anything but 0 no partial target is left behind.
int WriteCarriedStarter(const std::string& target, WorkerContext* context, DWORD* error);

}  // namespace ld::installer
