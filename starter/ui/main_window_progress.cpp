// The window as the meters' progress sink. The download workers and the
// driver report far more often than anyone can see, and every synchronous
// send is a thread switch (under Wine a round trip through its server) that
// held the worker until the window had repainted: a 1,000-file install spent
// most of its time there. So a change only records the latest range,
// position or text of its control and, when none is outstanding, posts one
// UWM_UI_PROGRESS; the window's thread shows what has gathered, then holds
// further shows for kProgressIntervalMs so that a stream of changes costs a
// few repaints a second. The latest value of every control always shows.
#include "starter/ui/main_window.h"

#include <commctrl.h>

#include "starter/ui/ui_send.h"

namespace ld {

cMainWindow::PendingProgress& cMainWindow::PendingFor(const char* control) {
  for (PendingProgress& pending : pending_progress_) {
    if (pending.control == control) return pending;
  }
  pending_progress_.push_back(PendingProgress{});
  pending_progress_.back().control = control;
  return pending_progress_.back();
}

void cMainWindow::RequestProgressShow() {
  if (progress_requested_) return;
  // Without a window nothing is shown, and a later change may try again.
  progress_requested_ = UiPost(this, UWM_UI_PROGRESS, 0, 0);
}

void cMainWindow::SetBarRange(const char* bar, uint32_t maximum) {
  std::lock_guard<std::mutex> hold(progress_lock_);
  PendingProgress& pending = PendingFor(bar);
  pending.has_range = true;
  pending.range = maximum;
  RequestProgressShow();
}

void cMainWindow::SetBarPosition(const char* bar, uint32_t position) {
  std::lock_guard<std::mutex> hold(progress_lock_);
  PendingProgress& pending = PendingFor(bar);
  pending.has_position = true;
  pending.position = position;
  RequestProgressShow();
}

void cMainWindow::SetText(const char* control, const std::string& text) {
  std::lock_guard<std::mutex> hold(progress_lock_);
  PendingProgress& pending = PendingFor(control);
  pending.has_text = true;
  pending.text = text;
  RequestProgressShow();
}

bool cMainWindow::ShowPendingProgress() {
  std::vector<PendingProgress> taken;
  {
    std::unique_lock<std::mutex> hold(progress_lock_, std::try_to_lock);
    if (!hold) return true;
    taken.swap(pending_progress_);
  }
  for (const PendingProgress& pending : taken) {
    cWindow* control = controls_.Find(pending.control.c_str());
    if (control == nullptr || control->hwnd() == nullptr) continue;
    // The range first: a bar clamps its position to the range it has.
    if (pending.has_range) {
      ::SendMessageA(control->hwnd(), PBM_SETRANGE32, 0, static_cast<LPARAM>(pending.range));
    }
    if (pending.has_position) ::SendMessageA(control->hwnd(), PBM_SETPOS, pending.position, 0);
    if (pending.has_text) control->SetText(pending.text.c_str());
  }
  return !taken.empty();
}

void cMainWindow::OnProgressMessage() {
  ShowPendingProgress();
  // Changes arriving meanwhile wait for the timer rather than a new message.
  ::SetTimer(hwnd(), kProgressTimer, kProgressIntervalMs, nullptr);
}

void cMainWindow::OnProgressTimer() {
  if (ShowPendingProgress()) return;
  std::unique_lock<std::mutex> hold(progress_lock_, std::try_to_lock);
  if (!hold) return;  // the timer comes back
  ::KillTimer(hwnd(), kProgressTimer);
  progress_requested_ = false;
  // A change that came between the show and the lock would otherwise wait
  // for the next one.
  if (!pending_progress_.empty()) RequestProgressShow();
}

}  // namespace ld
