#include "starter/ui/ui_send.h"

#include "starter/app/starter_app.h"
#include "starter/ui/main_window.h"
#include "starter/ui/ui_messages.h"

namespace ld {

LRESULT UiSend(cMainWindow* window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (window == nullptr) return 0;
  HWND handle = window->hwnd();
  if (handle == nullptr || !::IsWindow(handle)) return 0;
  cStarterApp::Get().PassDriverHold();
  const LRESULT answer = ::SendMessageA(handle, message, wparam, lparam);
  ::Sleep(0);
  return answer;
}

bool UiPost(cMainWindow* window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (window == nullptr) return false;
  HWND handle = window->hwnd();
  if (handle == nullptr || !::IsWindow(handle)) return false;
  return ::PostMessageA(handle, message, wparam, lparam) != FALSE;
}

void WaitForUser(cStarterApp& app, cMainWindow* window, bool countdown) {
  HANDLE wake = app.WakeEvent();
  bool panels_ready = false;
  for (;;) {
    if (app.StopRequested()) return;
    if (!panels_ready) {
      panels_ready = UiSend(window, UWM_DRIVER_UI, DriverUiParam(kUiCheckPanels, 0), 0) == 1;
    }
    if (countdown && (window == nullptr || window->DriverCountdownLeft() <= 0)) return;
    if (wake == nullptr) {
      // No event to wait on: poll at the same pace.
      ::Sleep(countdown ? 30 : 400);
      continue;
    }
    if (::WaitForSingleObject(wake, countdown ? 30 : 400) == WAIT_OBJECT_0) return;
  }
}

}  // namespace ld
