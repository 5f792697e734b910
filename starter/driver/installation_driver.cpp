#include "starter/driver/installation_driver.h"

#include <cstdio>
#include <exception>
#include <mutex>

#include "core/base/error_codes.h"
#include "core/driver/driver_rules.h"
#include "core/driver/hs_state.h"
#include "starter/app/starter_app.h"
#include "starter/driver/driver_run.h"
#include "starter/driver/driver_window.h"
#include "starter/install/catalogue_fetch.h"
#include "starter/install/download_batch.h"
#include "starter/install/package_list.h"
#include "starter/install/update_list_fetch.h"
#include "starter/launch/starter_launch_string.h"
#include "starter/platform/string_table.h"
#include "starter/report/message_boxes.h"
#include "starter/report/report_sender.h"
#include "starter/report/step_log_sender.h"
#include "starter/resources/resource_ids.h"
#include "starter/shell/shell_records.h"

namespace ld {
namespace {

// Shown when the driver thread dies of an exception: the fatal box, then the
// window closes without waiting (the thread's own state may be gone).
void TerminateRun(cStarterApp& app, DriverWindow* window) {
  ErrorBox(error_code::kRunFailed, "terminate");
  app.driver_finished().store(true);
  if (window != nullptr) window->PostClose();
}

DriverWindow* g_terminate_window = nullptr;

void OnTerminate() {
  TerminateRun(cStarterApp::Get(), g_terminate_window);
  ::ExitThread(0);
}

}  // namespace

std::string StarterWindowTitle() {
  const std::string format = LoadText(IDS_WINDOW_TITLE_FORMAT);
  const std::string product = LoadText(IDS_PRODUCT_NAME);
  char title[520] = {};
  std::snprintf(title, sizeof(title), format.empty() ? "%s" : format.c_str(), product.c_str());
  return title;
}

void SendStepLog(cStarterApp& app, int step) {
  const LaunchRecord& record = app.launch_record();
  StepLog(record.game_id, record.member_id, step, app.flags().format());
}

bool DriverRun::Stopped() const {
  // The stop question's answer decides this check.
  app_.PassDriverHold();
  return app_.StopRequested();
}

void DriverRun::Event(int event) { app_.state_machine().Apply(event); }

void DriverRun::Show(unsigned string_id) { window_.DriverUi(driver_ui::Message(string_id)); }

void DriverRun::CurrentStep(int step) { app_.current_step().store(step); }

void DriverRun::Steps() {
  // Step 1: a run starts with no box shown and no failure.
  app_.flags().error_box_shown = false;
  failure_step_.clear();
  if (!window_.Exists()) return Fail("window.invalid");
  window_.StartPanelTimer();
  Show(225);
  Event(hs_event::kGamestringBegins);
  if (!ObtainAndAnalyse()) return;
  if (!LoadLists()) return;

  Show(229);
  Event(hs_event::kCheckHulBegins);
  const int marked =
      SelectSetupPackages(app_.catalogue(), app_.install_folder_settings(),
                          IsNewInstallation(app_.install_folder_settings()), &app_.packages());
  if (marked != 0 && !InstallSetupPackagesStep(marked)) return;
  if (!CheckFiles()) return;
  if (!nothing_to_do_ && !UpdateFiles()) return;
  StartTheGame();
}

bool DriverRun::ObtainAndAnalyse() {
  LaunchStringClient& client = StarterLaunchStringClient();
  // The refresh timer runs the same operations on the window's thread; it
  // skips its tick while the driver holds the record (a tester may leave a
  // launch-string box of these steps open for minutes).
  std::unique_lock<std::mutex> record_lock(app_.launch_record_lock());
  if (!client.Obtain()) {
    Event(hs_event::kGamestringFailed);
    Fail("gamestring.get");
    return false;
  }
  Event(hs_event::kGamestringObtained);
  SendStepLog(app_, driver_step::kGamestringObtained);
  CurrentStep(driver_step::kAfterGamestring);
  record_lock.unlock();
  if (Stopped()) return false;
  WriteElevationPolicy();
  if (Stopped()) return false;

  Show(226);
  record_lock.lock();
  if (!client.Analyse()) {
    Fail("gamestring.analysis");
    return false;
  }
  app_.PublishReportIds();
  LaunchRecord& record = app_.launch_record();
  if (!record.identifier.empty()) {
    DWORD error = 0;
    const bool refreshed =
        app_.flags().new_format ? client.RefreshToken(&error) : client.RefreshIdentifier(&error);
    if (!refreshed) ReportRefreshFailure(record.game_id, record.member_id, error);
  }
  record_lock.unlock();
  window_.SetTitle(StarterWindowTitle());
  return true;
}

bool DriverRun::LoadLists() {
  if (Stopped()) return false;
  Show(227);
  LaunchRecord& record = app_.launch_record();
  existing_check_ok_ = app_.install_folder_settings().CheckExistingInstallation(
      record.game_id, [this] { window_.PostAbort(); });
  if (Stopped()) return false;
  Event(hs_event::kGamekindBegins);

  const ListFetchSettings settings = CurrentListFetchSettings(app_);
  if (!LoadCatalogue(settings, record.game_id, record.game_code, &app_.catalogue())) {
    Event(hs_event::kGamekindFailed);
    Report(record.game_id, record.member_id, error_code::kGamekindDownload,
           "Failed to download the game running information file.",
           "IDS_FAILED_TO_DOWNLOAD_GAMEKIND_INI");
    ErrorBoxById(error_code::kGamekindDownload, IDS_FAILED_TO_DOWNLOAD_GAMEKIND_INI);
    Fail("gamekind.ini");
    return false;
  }
  Event(hs_event::kGamekindDownloaded);
  CurrentStep(driver_step::kCatalogueRead);
  Show(228);
  Event(hs_event::kHulBegins);

  app_.packages().clear();
  if (!BuildPackageList(app_.catalogue(), record.game_id, settings, &app_.packages())) {
    // The fetch told the user; the run ends without a failure step.
    Event(hs_event::kHulFailed);
    return false;
  }
  Event(hs_event::kHulRead);
  return !Stopped();
}

int DriverRun::Finish() {
  const bool stopped = Stopped();
  if (!stopped) SendStepLog(app_, driver_step::kEnded);
  if (ShowsFatalBox(!failure_step_.empty(), stopped, app_.flags().error_box_shown)) {
    ErrorBox(error_code::kRunFailed, failure_step_.c_str());
    result_ = 0;
  }
  app_.driver_finished().store(true);
  app_.CloseWakeEvent();
  WaitForStepLogSenders(kDriverEndWaitMs);
  WaitForDownloadWorkers(kDriverEndWaitMs);
  window_.Close();
  return result_;
}

int RunInstallationDriver(cStarterApp& app, DriverWindow& window) {
  DriverRun run(app, window);
  run.Steps();
  return run.Finish();
}

DWORD WINAPI InstallationDriverThread(void* param) {
  auto* window = static_cast<DriverWindow*>(param);
  cStarterApp& app = cStarterApp::Get();
  g_terminate_window = window;
  std::set_terminate(OnTerminate);
  try {
    return static_cast<DWORD>(RunInstallationDriver(app, *window));
  } catch (...) {
    TerminateRun(app, window);
    return 0;
  }
}

}  // namespace ld
