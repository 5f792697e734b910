#include "starter/startup/startup_messages.h"

#include <rpc.h>

#include <mutex>
#include <string>

#include "core/launch/game_start_rules.h"
#include "core/base/error_codes.h"
#include "core/driver/startup_rules.h"
#include "core/launch/gamestring.h"
#include "core/launch/zone.h"
#include "starter/app/starter_app.h"
#include "starter/driver/installation_driver.h"
#include "starter/launch/launch_string_dump_box.h"
#include "starter/launch/starter_launch_string.h"
#include "starter/report/message_boxes.h"
#include "starter/report/report_sender.h"
#include "starter/report/reporting_state.h"
#include "starter/report/step_log_sender.h"
#include "starter/resources/resource_ids.h"
#include "starter/self_update/self_update.h"

namespace ld {
namespace {

constexpr int kStepLogInit = 200;
constexpr int kStepLogShellChecked = 202;
constexpr int kStepLogSingleInstance = 204;
constexpr int kStepLogLanguage = 206;

// Game id and member id as the start-up reads them from the first gamestring;
// false when the member id is missing.
bool MemberOfGamestring(const std::string& text, GamestringFormat format, std::string* member) {
  if (format == GamestringFormat::kNew) {
    bool found = false;
    *member = NamedParameter(text, "P0", &found);
    return found;
  }
  return PairValue(text, "k3e=", member) != 0;
}

}  // namespace

std::string NewSessionId() {
  UUID uuid;
  const RPC_STATUS made = ::UuidCreate(&uuid);
  if (made != RPC_S_OK && made != RPC_S_UUID_LOCAL_ONLY) return kNilGuid;
  RPC_CSTR text = nullptr;
  if (::UuidToStringA(&uuid, &text) != RPC_S_OK || text == nullptr) return kNilGuid;
  std::string id(reinterpret_cast<const char*>(text));
  ::RpcStringFreeA(&text);
  return id;
}

void OnStartInstallation(cStarterApp& app, HWND window, const char* command_line) {
  LaunchRecord& record = app.launch_record();
  const ProgramFlags& flags = app.flags();
  const GamestringFormat format = flags.format();
  record.Reset();
  std::string first;
  if (!LaunchStringOfCommandLine(command_line != nullptr ? command_line : "", &first)) {
    char title[260] = {};
    ::GetWindowTextA(window, title, sizeof(title));
    ::MessageBoxA(nullptr, "Can not run without command line", title, 0);
    ::PostMessageA(window, UWM_ABORT, static_cast<WPARAM>(-1), 0);
    return;
  }
  record.first_gamestring = first;
  if (flags.show_gamestring) ShowLaunchStringDump(false, first, "Command line", format);

  record.zone_number = ZoneNumber(ZoneValue(first, format));
  record.age_class = AgeClass(first);
  AppendSessionId(&record.first_gamestring, NewSessionId());

  const int letter = ReadStepLogSwitches(record.first_gamestring);
  if (letter > 0) record.first_gamestring[static_cast<std::size_t>(letter)] = 'H';
  ReadRemoteLogSwitch(record.first_gamestring, format);

  const std::string& text = record.first_gamestring;
  const std::string game_id = GameIdOfGamestring(text, format);
  std::string member;
  if (!game_id.empty() && MemberOfGamestring(text, format, &member)) {
    if (member.size() > kStartupMemberIdMax) member.resize(kStartupMemberIdMax);
    StepLog(game_id, member, kStepLogInit, format);
    record.CopyGameId(game_id);
    record.CopyMemberId(member);
    if (ReportsExecutor(game_id)) {
      std::string executor;
      PairValue(text, "executor=", &executor);
      Report(game_id, member, error_code::kExecutorMilestone, "INIT (UWM_START_INSTALLATION)",
             nullptr, executor.c_str());
    }
  }
  app.PublishReportIds();
  const bool ticket = format == GamestringFormat::kNew ? text.find("P4=") != std::string::npos
                                                       : text.find("k300e=") != std::string::npos;
  if (ticket) ::SetTimer(window, kRefreshTimer, kRefreshTimerMs, nullptr);
  ::PostMessageA(window, UWM_CHECK_ENVIRONMENT, 0, 0);
}

void OnCheckEnvironment(cStarterApp& app, HWND window) {
  ::SetWindowTextA(window, StarterWindowTitle().c_str());
  const bool passed = [&app] {
    if (!CheckShellLibraries(&app.runtime_libraries())) {
      ErrorBoxById(error_code::kComponentsTooOld, IDS_REQUIRE_IE4);
      return false;
    }
    SendStepLog(app, kStepLogShellChecked);

    ::SetLastError(ERROR_SUCCESS);
    HANDLE mutex = ::CreateMutexA(nullptr, TRUE, kSingleInstanceMutex);
    if (mutex == nullptr) {
      ErrorBox(error_code::kMutexCreate);
      return false;
    }
    const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    app.single_instance_lock().Reset(mutex);
    if (existed) {
      // Not ours to release: only the holder may.
      app.single_instance_lock().Reset();
      ErrorBoxById(error_code::kAlreadyRunning, IDS_ALREADY_RUNNING);
      return false;
    }
    SendStepLog(app, kStepLogSingleInstance);

    if (!app.install_folder_settings().SetLanguage(app.launch_record().first_gamestring,
                                                   app.flags().format())) {
      return false;
    }
    SendStepLog(app, kStepLogLanguage);
    return true;
  }();
  ::PostMessageA(window, passed ? UWM_START_DRIVER : WM_CLOSE, 0, 0);
}

KernelHandle OnStartDriver(cStarterApp& app, HWND window, DriverWindow* driver_window) {
  if (!app.install_folder_settings().Load(window, app.flags().kind_mode)) return KernelHandle();
  KernelHandle thread(::CreateThread(nullptr, 0, InstallationDriverThread, driver_window,
                                     CREATE_SUSPENDED, nullptr));
  if (!thread) {
    ::PostMessageA(window, UWM_ABORT, static_cast<WPARAM>(-1), 0);
    return thread;
  }
  ::ResumeThread(thread.Get());
  SendStepLog(app, driver_step::kStarted);
  app.current_step().store(driver_step::kAfterStart);
  return thread;
}

void OnAbort(cStarterApp& app, HWND window, WPARAM wparam) {
  KernelHandle& lock = app.single_instance_lock();
  if (lock) {
    ::ReleaseMutex(lock.Get());
    lock.Reset();
  }
  if (wparam == static_cast<WPARAM>(-1)) ::PostMessageA(window, WM_CLOSE, 0, 0);
}

void OnRefreshTimer(cStarterApp& app, HWND window) {
  // The driver's own launch-string steps and the game start hold this lock
  // while they use the record this rewrites. Never waited for: the driver
  // may hold it across a box of those steps, or wait for the stop question
  // with it; that tick is skipped and the next one refreshes.
  std::unique_lock<std::mutex> hold(app.launch_record_lock(), std::try_to_lock);
  if (!hold) return;
  LaunchStringClient& client = StarterLaunchStringClient();
  if (!client.Obtain()) {
    hold.unlock();
    ::SendMessageA(window, WM_CLOSE, 0, 0);
    return;
  }
  DWORD error = 0;
  const bool refreshed =
      app.flags().new_format ? client.RefreshToken(&error) : client.RefreshIdentifier(&error);
  hold.unlock();
  if (refreshed) return;
  // Reported after letting the record go, so with the published ids, not the
  // record the driver may be rewriting.
  const cStarterApp::ReportIds ids = app.report_ids();
  ReportRefreshFailure(ids.game_id, ids.member_id, error);
  if (app.flags().kind_mode) {
    SupportBox("plum", "RefreshIdentifier() failed", MB_ICONEXCLAMATION);
  }
}

}  // namespace ld
