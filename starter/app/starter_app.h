// The starter's application object: one per process, created on first use by
// cStarterApp::Get() and destroyed at process exit. Every part of the starter
// reaches the program-wide state through it.
//
// Threads: the main thread creates it (start-up calls Get() before any other
// thread exists) and writes the start-up values; the installation driver
// thread and the download workers read them afterwards. Members changed while
// other threads run say how they are guarded: the stop flag and the current
// step are atomics, the wake event is created under a lock; the records owned
// by the driver (launch record, meters, package list) follow the driver's own
// rules written beside their types.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/driver/hs_state.h"
#include "core/install/executable_list.h"
#include "core/launch/launch_record.h"
#include "core/launch/program_flags.h"
#include "core/install/package_descriptor.h"
#include "core/install/progress_meter.h"
#include "starter/settings/install_folder_settings.h"
#include "starter/settings/starter_options.h"
#include "starter/platform/win_handle.h"
#include "starter/platform/file_version.h"

namespace ld {

// Versions of the system libraries the start-up checks (major * 65536 +
// minor, 0 when unknown); the self-update check fills it.
struct RuntimeLibraryVersions {
  std::uint32_t shell_utility = 0;    // "Shlwapi.dll"
  std::uint32_t shell = 0;            // "Shell32.dll"
  std::uint32_t common_controls = 0;  // "Comctl32.dll"
  // File versions (not found: 0) of the runtime libraries, in the order of
  // kSystemRuntimeNames and kPrivateRuntimeNames (starter/game/
  // runtime_libraries.h): the older three in the system folder and as the
  // loader finds them, the private three in the system folder and in the
  // game's "Sysfiles" folder. The game preparation fills them.
  FileVersion system_runtime[3];
  FileVersion loaded_runtime[3];
  FileVersion system_private[3];
  FileVersion game_private[3];
};

class cStarterApp {
 public:
  // The one instance, created on the first call. Thread-safe, but start-up
  // calls it first on the main thread.
  static cStarterApp& Get();

  cStarterApp(const cStarterApp&) = delete;
  cStarterApp& operator=(const cStarterApp&) = delete;

  // Start-up steps taken before anything else (main thread): the start tick,
  // the program folder, "ldstarter.ini", kind mode, the instance handle and,
  // in kind mode, a copy of the command-line tail.
  void Initialize(HINSTANCE instance, const char* command_tail);

  // --- Members, in the order the rest of the starter knows them. ---

  // Stop flag: set by the main thread when the user asks to stop; polled by
  // the driver and every download loop.
  bool StopRequested() const { return stop_.load(std::memory_order_acquire) != 0; }
  void RequestStop() { stop_.store(1, std::memory_order_release); }
  void ClearStop() { stop_.store(0, std::memory_order_release); }

  // Wake event (auto-reset), created on first use by whichever thread asks
  // first; the installation window sets it to wake a waiting driver step.
  // Null only when the system cannot make an event.
  HANDLE WakeEvent();
  // Signals the wake event (main thread: start button, end of the countdown).
  void Wake();
  // Closes the wake event and forgets it (driver thread, at its end); a later
  // WakeEvent() makes a new one.
  void CloseWakeEvent();

  // The stop question holds the driver at its next safe point, a UI send or
  // a stop check, so that no page changes and nothing is decided under the
  // question. The driver is never frozen from outside: a thread suspended
  // inside the heap's lock hangs the window that then allocates for the box.
  // Window thread: HoldDriver and ReleaseDriver around the question. Driver
  // thread: PassDriverHold waits while the driver is held.
  void HoldDriver() { ::ResetEvent(driver_go_.Get()); }
  void ReleaseDriver() { ::SetEvent(driver_go_.Get()); }
  void PassDriverHold() const;

  // Set when the driver thread has ended (also by its terminate handler).
  std::atomic<bool>& driver_finished() { return driver_finished_; }

  // "LUDORIA_LUDSTART", held for the whole run once the environment check
  // has taken it (main thread).
  KernelHandle& single_instance_lock() { return single_instance_lock_; }

  RuntimeLibraryVersions& runtime_libraries() { return runtime_libraries_; }

  // Language, registry key, install folder and install states (main thread
  // before the driver starts, then the driver; see its header).
  cInstallFolderSettings& install_folder_settings() { return install_folder_settings_; }

  LaunchRecord& launch_record() { return launch_record_; }
  // The ids a stop, a cancel or a refresh tick on the window's thread
  // reports with. The driver's analysis replaces the whole record while the
  // user may already be closing the window, so that thread reads this copy
  // instead of the record.
  // Whoever has just written those fields publishes them: the main thread at
  // the launch string's arrival, the driver after its analysis. Any thread
  // may read; both sides hold a lock only for the copy.
  struct ReportIds {
    std::string game_id;
    std::string member_id;
    std::string executor;
  };
  void PublishReportIds();
  ReportIds report_ids() const;
  // Held by the refresh timer (window thread) while it obtains and refreshes
  // the launch string, and by the driver while its own launch-string steps
  // run and while the game start copies the second gamestring. The window's
  // thread only ever tries it, so the driver may show boxes while holding it.
  std::mutex& launch_record_lock() { return launch_record_lock_; }

  // Main meter ("PROGRESS1" and its two texts), file meter ("PROGRESS2") and
  // the two download-slot meters ("PROGRESS20", "PROGRESS21").
  ProgressMeter& main_meter() { return main_meter_; }
  ProgressMeter& file_meter() { return file_meter_; }
  ProgressMeter& slot_meter(int slot) { return slot_meters_[slot == 0 ? 0 : 1]; }

  // Packages of this launch in list order (the game first, then the base
  // packages it needs), the catalogue values read for the game, and the
  // programs the file check found. Filled and read by the driver thread only.
  std::vector<PackageDescriptor>& packages() { return packages_; }
  Catalogue& catalogue() { return catalogue_; }
  ExecutableList& executables() { return executables_; }

  // Installation step last reached: written by the driver, sent as the step
  // by the stop operation when the user cancels.
  std::atomic<int>& current_step() { return current_step_; }

  // The installation states of this run: events 0 and 1 on the main thread
  // before the driver exists, the driver's events afterwards.
  InstallStateMachine& state_machine() { return state_machine_; }

  // "<starter data>\HUL", made once per run by the first list fetch and kept
  // (driver thread).
  std::string& update_list_folder() { return update_list_folder_; }

  // The published version the self-update check read ("%d.%d.%d.%d"), empty
  // in a clone run and when no version file was read. Written on the main
  // thread before any report is sent.
  std::string& published_version_text() { return published_version_text_; }

  // --- Program-wide flags and start-up values. ---
  ProgramFlags& flags() { return flags_; }
  const StarterOptions& options() const { return options_; }
  HINSTANCE instance() const { return instance_; }
  // The command-line tail as given, kept only in kind mode.
  const std::string& kind_command_tail() const { return kind_command_tail_; }

 private:
  cStarterApp();
  ~cStarterApp() = default;

  std::atomic<std::int32_t> stop_{0};
  std::mutex wake_event_lock_;
  KernelHandle wake_event_;
  KernelHandle driver_go_{::CreateEventA(nullptr, TRUE, TRUE, nullptr)};  // manual reset
  std::atomic<bool> driver_finished_{false};
  KernelHandle single_instance_lock_;
  RuntimeLibraryVersions runtime_libraries_;
  cInstallFolderSettings install_folder_settings_;
  LaunchRecord launch_record_;
  std::mutex launch_record_lock_;
  mutable std::mutex report_ids_lock_;
  ReportIds report_ids_;
  ProgressMeter main_meter_;
  ProgressMeter file_meter_;
  ProgressMeter slot_meters_[2];
  std::vector<PackageDescriptor> packages_;
  Catalogue catalogue_;
  ExecutableList executables_;
  std::atomic<int> current_step_{0};
  InstallStateMachine state_machine_;
  std::string update_list_folder_;
  std::string published_version_text_;

  ProgramFlags flags_;
  StarterOptions options_;
  HINSTANCE instance_ = nullptr;
  std::string kind_command_tail_;
};

// Applies the start-up reading to the flags: kind mode and, before the zone
// is known, the wish to show launch strings ([check] ShowGamestringInAlpha);
// the start-up turns that off again when the launch string names no test zone.
void ApplyStartupOptions(const StarterOptions& options, ProgramFlags* flags);

}  // namespace ld
