// The start-up's window messages of the installation window: reading the
// launch string (UWM_START_INSTALLATION), the environment checks
// (UWM_CHECK_ENVIRONMENT), the start of the driver (UWM_START_DRIVER), the
// release of the single-instance lock (UWM_ABORT) and the launch-string
// refresh of timer 500.
//
// Threads: the main thread, inside the installation window's procedure. The
// values written here (launch record, flags, settings) are written before the
// driver thread exists, which alone reads them afterwards.
#pragma once

#include <windows.h>

#include <string>

#include "starter/platform/win_handle.h"
#include "starter/ui/ui_messages.h"

namespace ld {

class cStarterApp;
class DriverWindow;

inline constexpr UINT kRefreshTimerMs = 120000;
inline constexpr char kSingleInstanceMutex[] = "LUDORIA_LUDSTART";

// UWM_START_INSTALLATION: the launch string from `command_line` into the
// launch record, zone, age class, session id, the reporting switches, the
// first step log; then UWM_CHECK_ENVIRONMENT. Without ".exe" in the command
// line a plain box, then UWM_ABORT with -1.
void OnStartInstallation(cStarterApp& app, HWND window, const char* command_line);

// UWM_CHECK_ENVIRONMENT: shell libraries, single instance, language; then
// UWM_START_DRIVER, or WM_CLOSE after the failure's error box.
void OnCheckEnvironment(cStarterApp& app, HWND window);

// UWM_START_DRIVER: the install folder settings, then the driver thread on
// `driver_window` (started suspended and resumed). Returns the thread's
// handle for the window to keep; empty when the settings could not be read
// or the thread not made (then UWM_ABORT with -1 is posted).
KernelHandle OnStartDriver(cStarterApp& app, HWND window, DriverWindow* driver_window);

// UWM_ABORT: releases the single-instance lock; -1 also closes the window.
void OnAbort(cStarterApp& app, HWND window, WPARAM wparam);

// Timer 500: obtains the launch string again (closes the window when that
// fails) and refreshes the identifier or token.
void OnRefreshTimer(cStarterApp& app, HWND window);

// A fresh GUID in its text form with hyphens and no braces; the all-zero one
// when none can be made.
std::string NewSessionId();

}  // namespace ld
