// What the installation driver needs of the installation window. The
// program binds it to the real window (starter/startup); tests may bind it to
// a stand-in. Every operation is called on the driver thread and reaches the
// window's own thread synchronously, or by a posted message where noted.
//
// An operation on a window that no longer exists does nothing (and answers
// 0): the driver then runs to its end without anyone to show it.
#pragma once

#include <cstdint>
#include <string>

namespace ld {

// UWM_DRIVER_UI wParam values the driver sends: command << 16 | argument.
namespace driver_ui {
inline constexpr std::uint32_t kPageFolder = 0x00000;
inline constexpr std::uint32_t kPageDownload = 0x00001;
inline constexpr std::uint32_t kPageRun = 0x00003;
inline constexpr std::uint32_t kShow = 0x10005;
inline constexpr std::uint32_t kCheckPanels = 0x40000;
// Command 2 with a string id: the message page showing that string.
constexpr std::uint32_t Message(unsigned string_id) { return 0x20000u | (string_id & 0xFFFFu); }
}  // namespace driver_ui

class DriverWindow {
 public:
  virtual ~DriverWindow() = default;

  // The system window still exists.
  virtual bool Exists() = 0;
  // The UI send: UWM_DRIVER_UI with `wparam` while the window exists, then a
  // yield of the processor. The window's answer, 0 when it is gone.
  virtual std::intptr_t DriverUi(std::uint32_t wparam) = 0;
  // Starts timer 502, the web panel check.
  virtual void StartPanelTimer() = 0;
  virtual void SetTitle(const std::string& title) = 0;
  // Waits for the start button (the wake event), checking the web panels
  // meanwhile; returns at once once the stop flag is set.
  virtual void WaitForUser() = 0;
  // Milliseconds the countdown still holds the game start.
  virtual std::int64_t CountdownLeft() = 0;
  // Waits for the countdown to run out, then marks it finished.
  virtual void WaitForCountdown() = 0;
  // Posts UWM_ABORT with -1 (the existing-installation check's failure).
  virtual void PostAbort() = 0;
  // Sends WM_CLOSE (the driver's end).
  virtual void Close() = 0;
  // Posts WM_CLOSE (the terminate handler, which must not wait).
  virtual void PostClose() = 0;
};

}  // namespace ld
