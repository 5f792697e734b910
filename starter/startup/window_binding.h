// The installation window as the driver and the start-up see it: the
// driver's DriverWindow over cMainWindow, and the window environment whose
// start-up hook carries the messages 3025 to 3027, 3324 and timer 500.
//
// Threads: the binding object is made on the main thread before the window
// and lives until the process ends; its DriverWindow operations run on the
// driver thread, the hook on the main thread.
#pragma once

#include "starter/driver/driver_window.h"
#include "starter/ui/main_window.h"

namespace ld {

class cStarterApp;

class MainWindowDriverView : public DriverWindow {
 public:
  MainWindowDriverView(cStarterApp& app, cMainWindow& window) : app_(app), window_(window) {}

  bool Exists() override;
  std::intptr_t DriverUi(std::uint32_t wparam) override;
  void StartPanelTimer() override;
  void SetTitle(const std::string& title) override;
  void WaitForUser() override;
  std::int64_t CountdownLeft() override;
  void WaitForCountdown() override;
  void PostAbort() override;
  void Close() override;
  void PostClose() override;

 private:
  cStarterApp& app_;
  cMainWindow& window_;
};

// The installation window and the driver's view of it, made one after the
// other (the window's environment refers to both); they live until the
// process ends.
struct StarterWindows {
  cMainWindow* window = nullptr;
  DriverWindow* view = nullptr;
};

// The program's window environment with the start-up's messages bound to
// `windows` (read when a message arrives, so they may be filled in later).
MainWindowEnv StarterWindowEnv(cStarterApp& app, const StarterWindows* windows);

}  // namespace ld
