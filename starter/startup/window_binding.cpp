#include "starter/startup/window_binding.h"

#include "starter/app/starter_app.h"
#include "starter/startup/startup_messages.h"
#include "starter/ui/ui_send.h"

namespace ld {

bool MainWindowDriverView::Exists() {
  HWND handle = window_.hwnd();
  return handle != nullptr && ::IsWindow(handle);
}

std::intptr_t MainWindowDriverView::DriverUi(std::uint32_t wparam) {
  return static_cast<std::intptr_t>(UiSend(&window_, UWM_DRIVER_UI, wparam, 0));
}

void MainWindowDriverView::StartPanelTimer() { window_.DriverStartPanelTimer(); }

void MainWindowDriverView::SetTitle(const std::string& title) {
  // Sent, so the driver's title never races the window's own.
  if (Exists())
    ::SendMessageA(window_.hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
}

void MainWindowDriverView::WaitForUser() { ld::WaitForUser(app_, &window_, false); }

std::int64_t MainWindowDriverView::CountdownLeft() { return window_.DriverCountdownLeft(); }

void MainWindowDriverView::WaitForCountdown() { window_.DriverWaitForCountdown(app_); }

void MainWindowDriverView::PostAbort() {
  if (Exists()) ::PostMessageA(window_.hwnd(), UWM_ABORT, static_cast<WPARAM>(-1), 0);
}

void MainWindowDriverView::Close() { UiSend(&window_, WM_CLOSE, 0, 0); }

void MainWindowDriverView::PostClose() {
  if (Exists()) ::PostMessageA(window_.hwnd(), WM_CLOSE, 0, 0);
}

MainWindowEnv StarterWindowEnv(cStarterApp& app, const StarterWindows* windows) {
  MainWindowEnv env = DefaultMainWindowEnv(app);
  env.startup = [&app, windows](UINT message, WPARAM wparam, LPARAM, bool* handled) {
    *handled = true;
    cMainWindow* window = windows->window;
    HWND handle = window->hwnd();
    switch (message) {
      case UWM_START_INSTALLATION:
        OnStartInstallation(app, handle, ::GetCommandLineA());
        return LRESULT{0};
      case UWM_CHECK_ENVIRONMENT:
        OnCheckEnvironment(app, handle);
        return LRESULT{0};
      case UWM_START_DRIVER:
        window->SetDriverThread(OnStartDriver(app, handle, windows->view));
        return LRESULT{0};
      case UWM_ABORT:
        OnAbort(app, handle, wparam);
        return LRESULT{0};
      default:
        *handled = false;
        return LRESULT{0};
    }
  };
  env.refresh_timer = [&app, windows] { OnRefreshTimer(app, windows->window->hwnd()); };
  return env;
}

}  // namespace ld
