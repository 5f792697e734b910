// The countdown that holds the game start, and the check that shows each web
// panel once it has loaded.
#include "starter/app/starter_app.h"
#include "starter/ui/main_window.h"
#include "starter/ui/ui_send.h"

namespace ld {

bool cMainWindow::PanelLoaded(const char* name, CMWebControl* panel) {
  if (panel == nullptr || panel->hwnd() == nullptr) return false;
  if (env_.panel_loaded) return env_.panel_loaded(name);
  return panel->ReadyState() >= READYSTATE_COMPLETE;
}

void cMainWindow::StartCountdown() {
  const bool ready = advert_shown_ && PanelLoaded("IE_ADVERTISE", advert_.get());
  if (auto period = countdown_.Start(Now(), ready)) {
    ::SetTimer(hwnd(), kCountdownTimer, *period, nullptr);
  }
}

std::int64_t cMainWindow::CountdownLeft() {
  const bool ready = advert_shown_ && PanelLoaded("IE_ADVERTISE", advert_.get());
  const Countdown::Remaining left = countdown_.Query(Now(), ready);
  if (left.restart_ms) ::SetTimer(hwnd(), kCountdownTimer, *left.restart_ms, nullptr);
  return left.ms;
}

bool cMainWindow::CheckPanels() {
  if (advert_shown_ && rating_shown_) return true;
  const DWORD now = Now();
  if (!first_check_done_) {
    first_check_done_ = true;
    first_check_tick_ = now;
  }
  struct Panel {
    const char* name;
    CMWebControl* control;
    bool* shown;
  } panels[] = {{"IE_ADVERTISE", advert_.get(), &advert_shown_},
                {"IE_GAMERATE", rating_.get(), &rating_shown_}};
  for (Panel& panel : panels) {
    if (*panel.shown || !PanelLoaded(panel.name, panel.control)) continue;
    *panel.shown = true;
    HWND window = panel.control->hwnd();
    ::ShowWindow(window, SW_SHOW);
    ::ValidateRect(window, nullptr);
    RECT area = {};
    ::GetWindowRect(window, &area);
    ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&area), 2);
    ::ValidateRect(hwnd(), &area);
    if (panel.shown == &advert_shown_) StartCountdown();
  }
  if (advert_shown_ && rating_shown_) {
    panels_ready_ = true;
    return true;
  }
  if (now - first_check_tick_ >= kPanelFallbackMs) StartCountdown();
  return false;
}

void cMainWindow::DriverStartPanelTimer() { UiSend(this, UWM_UI_START_PANEL_TIMER, 0, 0); }

std::int64_t cMainWindow::DriverCountdownLeft() {
  HWND window = hwnd();
  if (window == nullptr || !::IsWindow(window)) return 0;
  return static_cast<std::int64_t>(::SendMessageA(window, UWM_UI_COUNTDOWN_LEFT, 0, 0));
}

void cMainWindow::DriverWaitForCountdown(cStarterApp& app) {
  UiSend(this, UWM_UI_COUNTDOWN_WAIT, 1, 0);
  WaitForUser(app, this, true);
  UiSend(this, UWM_UI_COUNTDOWN_WAIT, 0, 0);
}

}  // namespace ld
