// What the installation window needs from the rest of the starter, as
// replaceable functions: the program fills them from the application object
// (DefaultMainWindowEnv), tests with their own stand-ins (a stepped clock, a
// loaded panel, a driver that has finished ...).
//
// Every function is called on the window's thread. Empty functions are
// skipped (and answer false / 0 / "").
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace ld {

class cStarterApp;

struct MainWindowEnv {
  // Milliseconds (the system tick count).
  std::function<DWORD()> tick;
  // The stop operation: stop flag, the step log of the expected step, and the
  // wake event unless the driver has finished.
  std::function<void()> stop;
  // Wakes a waiting driver step.
  std::function<void()> wake;
  // Holds (true) or lets go (false) the driver around the stop question.
  std::function<void(bool hold)> hold_driver;
  std::function<bool()> driver_finished;
  // Whether a web panel ("IE_ADVERTISE", "IE_GAMERATE") has finished loading.
  // Empty: the panel's own ready state.
  std::function<bool(const char* panel)> panel_loaded;
  // True where system folders are refused as install folders (Vista or later
  // workstations).
  std::function<bool()> refuse_system_folders;
  std::string windows_folder;
  std::string program_files_folder;
  // The address the left (advertisement) or right (rating) panel opens.
  std::function<std::string(bool left)> panel_address;
  // Messages of the start-up (UWM_START_INSTALLATION ... UWM_ABORT) and the
  // refresh timer 500, which belong to the start-up and the driver. A handler
  // sets *handled to take the message.
  std::function<LRESULT(UINT message, WPARAM wparam, LPARAM lparam, bool* handled)> startup;
  std::function<void()> refresh_timer;
  // Log record of a cancel of the TRIOKA game (code 0x190001, text, executor).
  std::function<void(const char* text)> report_cancel;
  // False keeps the web panels from being made (a window without browser).
  bool web_panels = true;
};

// The program's environment: cStarterApp's flags, launch record and step log,
// the system's folders and version.
MainWindowEnv DefaultMainWindowEnv(cStarterApp& app);

// Vista or later (NT platform, major version 6 or more) on a workstation.
bool IsVistaOrLaterWorkstation();

}  // namespace ld
