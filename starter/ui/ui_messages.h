// Window messages of the installation window and the commands the
// installation driver sends with UWM_DRIVER_UI.
#pragma once

#include <windows.h>

#include <cstdint>

namespace ld {

// Custom messages of the starter, all to the installation window.
inline constexpr UINT UWM_START_INSTALLATION = 3025;
inline constexpr UINT UWM_CHECK_ENVIRONMENT = 3026;
inline constexpr UINT UWM_START_DRIVER = 3027;
inline constexpr UINT UWM_DRIVER_UI = 3028;  // wParam: command << 16 | argument
inline constexpr UINT UWM_ABORT = 3324;

// Commands of UWM_DRIVER_UI.
enum DriverUiCommand : std::uint16_t {
  kUiBuildPage = 0,     // argument: page 0..3
  kUiShowWindow = 1,    // argument: show code
  kUiMessage = 2,       // argument: string id shown on the message page
  kUiFileProgress = 3,  // argument 1: two-bar file progress, 0: one bar
  kUiCheckPanels = 4,   // answer 1 when both web panels have loaded
  kUiFixedMessage = 5,  // argument 0: empty, 1: string 241, 2: string 242
};

constexpr WPARAM DriverUiParam(std::uint16_t command, std::uint16_t argument) {
  return (static_cast<WPARAM>(command) << 16) | argument;
}

// Pages of the installation window.
enum Page : int {
  kPageNone = -1,
  kPageInstallFolder = 0,
  kPageDownload = 1,
  kPageMessage = 2,
  kPageRun = 3,
};

// Private messages the driver-side operations of cMainWindow send to reach
// the window's own thread (the window's timers and countdown live there).
// Not part of the driver's command table; nothing outside starter/ui sends
// them.
inline constexpr UINT UWM_UI_PRIVATE = WM_APP + 0x100;
inline constexpr UINT UWM_UI_START_PANEL_TIMER = UWM_UI_PRIVATE + 0;
inline constexpr UINT UWM_UI_COUNTDOWN_LEFT = UWM_UI_PRIVATE + 1;  // answer: ms left
inline constexpr UINT UWM_UI_COUNTDOWN_WAIT = UWM_UI_PRIVATE + 2;  // wParam 1 begin, 0 end
inline constexpr UINT UWM_UI_PROGRESS = UWM_UI_PRIVATE + 3;        // progress gathered

// Timers of the installation window.
inline constexpr UINT_PTR kRefreshTimer = 500;    // launch-string refresh, 120000 ms
inline constexpr UINT_PTR kCountdownTimer = 501;  // end of the countdown
inline constexpr UINT_PTR kPanelTimer = 502;      // web panel check
inline constexpr UINT kPanelTimerMs = 700;
// Gathered progress shows at most this often (a private timer of the window).
// Every show repaints the bars and texts, and under Wine each repaint is
// dozens of round trips through its server on the window's thread, taken from
// the two download workers: five shows a second keep the bars moving at a
// fraction of that cost.
inline constexpr UINT_PTR kProgressTimer = 0x5100;
inline constexpr UINT kProgressIntervalMs = 200;
// The countdown starts this long after the first panel check even when the
// advertisement panel never loads.
inline constexpr DWORD kPanelFallbackMs = 3000;

}  // namespace ld
