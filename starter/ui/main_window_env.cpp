#include "starter/ui/main_window_env.h"

#include <shlobj.h>

#include "core/settings/server_endpoints.h"
#include "starter/platform/folders.h"
#include "starter/report/report_sender.h"
#include "starter/app/starter_app.h"
#include "starter/report/step_log_sender.h"

namespace ld {

bool IsVistaOrLaterWorkstation() {
  // GetVersionEx answers what the manifest allows; the kernel's own answer is
  // the true one.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  auto get_version =
      ntdll != nullptr ? reinterpret_cast<RtlGetVersionFn>(
                             reinterpret_cast<void (*)()>(::GetProcAddress(ntdll, "RtlGetVersion")))
                       : nullptr;
  if (get_version == nullptr || get_version(&info) != 0) return false;
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 6 &&
         info.wProductType == VER_NT_WORKSTATION;
}

MainWindowEnv DefaultMainWindowEnv(cStarterApp& app) {
  MainWindowEnv env;
  env.tick = [] { return ::GetTickCount(); };
  env.stop = [&app] {
    app.RequestStop();
    const cStarterApp::ReportIds ids = app.report_ids();
    StepLog(ids.game_id, ids.member_id, app.current_step().load(), app.flags().format());
    if (!app.driver_finished().load()) {
      if (HANDLE wake = app.WakeEvent()) ::SetEvent(wake);
    }
  };
  env.hold_driver = [&app](bool hold) {
    if (hold) {
      app.HoldDriver();
    } else {
      app.ReleaseDriver();
    }
  };
  env.wake = [&app] {
    if (HANDLE wake = app.WakeEvent()) ::SetEvent(wake);
  };
  env.driver_finished = [&app] { return app.driver_finished().load(); };
  env.refuse_system_folders = [] { return IsVistaOrLaterWorkstation(); };
  char folder[MAX_PATH] = {};
  if (::GetWindowsDirectoryA(folder, MAX_PATH) > 0) env.windows_folder = folder;
  env.program_files_folder = SpecialFolder(CSIDL_PROGRAM_FILES);
  env.panel_address = [&app](bool left) {
    const LaunchRecord& record = app.launch_record();
    return LauncherPageAddress(app.options().hosts, record.zone_number, record.game_id,
                               record.age_class, left);
  };
  env.report_cancel = [&app](const char* text) {
    const cStarterApp::ReportIds ids = app.report_ids();
    Report(ids.game_id, ids.member_id, 0x190001, text, nullptr, ids.executor.c_str());
  };
  return env;
}

}  // namespace ld
