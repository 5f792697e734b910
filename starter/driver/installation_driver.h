// The installation driver: the worker thread that carries one run from the
// launch string to the running game (obtain and analyse the launch string,
// catalogue, update lists, setup packages, file update, records, game start)
// and reports every step.
//
// Threads: one driver thread per run, started by the UWM_START_DRIVER
// handler. It reaches the window only through DriverWindow, and the rest of
// the starter through cStarterApp, whose launch record, package list and
// meters it owns while it runs. It ends by sending WM_CLOSE.
//
// Failures: every failure ends in the designed message (the step's own box,
// or the fatal box with the failure step's name when no box was shown) and
// the driver's result; nothing throws out of the thread.
#pragma once

#include <windows.h>

#include <string>

namespace ld {

class cStarterApp;
class DriverWindow;

// Step-log numbers and current-step values of the driver.
namespace driver_step {
inline constexpr int kStarted = 208;
inline constexpr int kAfterStart = 210;
inline constexpr int kGamestringObtained = 212;
inline constexpr int kAfterGamestring = 214;
inline constexpr int kCatalogueRead = 226;
inline constexpr int kNoDiskSpace = 228;
inline constexpr int kPackagesToInstall = 230;
inline constexpr int kFolderPage = 232;
inline constexpr int kPackagesInstalled = 234;
inline constexpr int kFileCheck = 236;
inline constexpr int kFilesToCheck = 238;
inline constexpr int kFileUpdate = 240;
inline constexpr int kFilesUpdated = 242;
inline constexpr int kCountdown = 244;
inline constexpr int kEnded = 250;
}  // namespace driver_step

// How long the driver's end waits for the step-log senders, and then for the
// download workers.
inline constexpr DWORD kDriverEndWaitMs = 3000;

// Runs the whole installation on the calling thread and sends WM_CLOSE at the
// end. 1, or 0 when the fatal box was shown.
int RunInstallationDriver(cStarterApp& app, DriverWindow& window);

// Thread procedure of the driver; `param` is the DriverWindow (owned by the
// start-up, alive until the process ends). Catches everything: an exception
// ends in the fatal box "terminate" and a posted WM_CLOSE.
DWORD WINAPI InstallationDriverThread(void* param);

// "%s Setup Wizard" (string 134) with the product name (string 133).
std::string StarterWindowTitle();

// Sends the step log of `step` for the run's game and member.
void SendStepLog(cStarterApp& app, int step);

}  // namespace ld
