#include "starter/ui/main_window.h"

#include <commctrl.h>

#include "starter/resources/ui_resource_ids.h"
#include "starter/app/starter_app.h"
#include "starter/platform/string_table.h"

namespace ld {

namespace {

bool g_class_registered = false;

std::string FontFace(unsigned id) {
  std::string face;
  if (!TryLoadText(id, 32, &face)) face = "Arial";
  return face;
}

}  // namespace

cMainWindow::cMainWindow(MainWindowEnv env) : env_(std::move(env)) {}

cMainWindow::~cMainWindow() {
  if (sink_installed_) SetProgressSink(previous_sink_);
  controls_.DestroyAll();
  advert_.reset();
  rating_.reset();
}

bool cMainWindow::CreateInstallationWindow(const char* title) {
  if (!g_class_registered) {
    g_class_registered =
        RegisterWindowClass(kMainWindowClass, kMainIconId, kMainIconId, nullptr) != 0;
  }
  if (!Create(0, kMainWindowClass, title, kMainWindowStyle, nullptr, CW_USEDEFAULT, CW_USEDEFAULT,
              400, 150, nullptr, false)) {
    return false;
  }
  previous_sink_ = SetProgressSink(this);
  sink_installed_ = true;
  return true;
}

DWORD cMainWindow::Now() const { return env_.tick ? env_.tick() : ::GetTickCount(); }

int cMainWindow::OnCreate(CREATESTRUCTA*) {
  const std::string logo_face = FontFace(IDS_LOGO_FONT_FACE);
  const std::string text_face = FontFace(IDS_TEXT_FONT_FACE);
  main_font_.Create(logo_face.c_str(), 9, 0);
  text_font_.Create(text_face.c_str(), 9, 0);
  bold_font_.Create(text_face.c_str(), 9, 0x10);
  frame_pen_.Reset(::CreatePen(PS_SOLID, 1, RGB(127, 127, 127)));
  white_pen_.Reset(::CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
  grey_pen_.Reset(::CreatePen(PS_SOLID, 1, RGB(198, 198, 198)));
  panel_brush_.Reset(::CreateSolidBrush(RGB(247, 247, 247)));
  window_brush_.Reset(::CreateSolidBrush(RGB(240, 240, 240)));
  message_brush_.Reset(::CreateSolidBrush(RGB(230, 230, 230)));
  control_brush_.Reset(::CreateSolidBrush(RGB(247, 247, 247)));
  return 1;
}

// The whole window drags like a caption; controls get their own hits.
LRESULT cMainWindow::OnHitTest(int, int) { return HTCAPTION; }

LRESULT cMainWindow::OnDriverUi(std::uint16_t command, std::uint16_t argument) {
  switch (command) {
    case kUiBuildPage:
      if (argument <= kPageRun) BuildPage(argument);
      return 0;
    case kUiShowWindow:
      ::ShowWindow(hwnd(), argument);
      return 0;
    case kUiMessage: {
      if (page_ != kPageMessage) BuildPage(kPageMessage);
      if (cWindow* message = controls_.Find("MSG1")) message->SetText(LoadText(argument).c_str());
      return 0;
    }
    case kUiFileProgress:
      SwitchFileProgress(argument == 1);
      if (cWindow* fixed = controls_.Find("STC_FIX_MESSAGE")) {
        fixed->SetText(LoadText(IDS_DOWNLOADING_GAME_FILES).c_str());
      }
      return 0;
    case kUiCheckPanels:
      return CheckPanels() ? 1 : 0;
    case kUiFixedMessage: {
      std::string text;
      if (argument == 1) text = LoadText(IDS_DOWNLOADING_SETUP_FILES);
      if (argument == 2) text = LoadText(IDS_DOWNLOADING_GAME_FILES);
      if (cWindow* fixed = controls_.Find("STC_FIX_MESSAGE")) fixed->SetText(text.c_str());
      return 0;
    }
    default:
      return 0;
  }
}

void cMainWindow::OnTimer(UINT_PTR id) {
  switch (id) {
    case kRefreshTimer:
      if (env_.refresh_timer) env_.refresh_timer();
      break;
    case kCountdownTimer:
      ::KillTimer(hwnd(), kCountdownTimer);
      if (waiting_ && env_.wake) env_.wake();
      break;
    case kPanelTimer:
      if (panels_ready_ || CheckPanels()) ::KillTimer(hwnd(), kPanelTimer);
      break;
    case kProgressTimer:
      OnProgressTimer();
      break;
    default:
      break;
  }
}

LRESULT cMainWindow::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (env_.startup) {
    bool handled = false;
    const LRESULT answer = env_.startup(message, wparam, lparam, &handled);
    if (handled) return answer;
  }
  // The driver's sends come after every progress change it made before them.
  if (message == UWM_DRIVER_UI ||
      (message >= UWM_UI_START_PANEL_TIMER && message <= UWM_UI_COUNTDOWN_WAIT)) {
    ShowPendingProgress();
  }
  switch (message) {
    case UWM_DRIVER_UI:
      return OnDriverUi(static_cast<std::uint16_t>(wparam >> 16),
                        static_cast<std::uint16_t>(wparam & 0xFFFF));
    case UWM_UI_START_PANEL_TIMER:
      ::SetTimer(hwnd(), kPanelTimer, kPanelTimerMs, nullptr);
      return 0;
    case UWM_UI_COUNTDOWN_LEFT: {
      const std::int64_t left = CountdownLeft();
      if (waiting_ && cStarterApp::Get().flags().kind_mode) {
        if (auto seconds = CountdownSeconds(left)) {
          if (cWindow* counter = controls_.Find("STC_COUNTER")) {
            counter->SetText(std::to_string(*seconds).c_str());
          }
        }
      }
      return static_cast<LRESULT>(left);
    }
    case UWM_UI_COUNTDOWN_WAIT:
      if (wparam != 0) {
        waiting_ = true;
      } else {
        countdown_.Finish();
        waiting_ = false;
        if (cWindow* counter = controls_.Find("STC_COUNTER")) counter->SetText("");
      }
      return 0;
    case UWM_UI_PROGRESS:
      OnProgressMessage();
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      return ControlColour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam),
                           message == WM_CTLCOLOREDIT);
    case WM_DESTROY:
      // The children go with the window; their objects must not keep the
      // handles.
      ::KillTimer(hwnd(), kProgressTimer);
      controls_.DestroyAll();
      if (sink_installed_) {
        SetProgressSink(previous_sink_);
        sink_installed_ = false;
      }
      ::PostQuitMessage(0);
      return 0;
    default:
      return cWindow::WindowProc(message, wparam, lparam);
  }
}

}  // namespace ld
