// The driver's steps from the setup packages to the game start.
#include <numeric>

#include "core/base/error_codes.h"
#include "core/driver/driver_rules.h"
#include "core/driver/hs_state.h"
#include "core/update_list/update_list_records.h"
#include "starter/app/starter_app.h"
#include "starter/download/progress_sink.h"
#include "starter/driver/driver_run.h"
#include "starter/driver/driver_window.h"
#include "starter/driver/installation_driver.h"
#include "starter/game/game_launch.h"
#include "starter/install/package_check.h"
#include "starter/report/message_boxes.h"
#include "starter/report/report_sender.h"
#include "starter/resources/resource_ids.h"
#include "starter/shell/shell_records.h"

namespace ld {

InstallContext DriverRun::Context() {
  // Read at every use: the folder page changes the install folder.
  InstallContext context;
  context.app = &app_;
  context.install_folder = app_.install_folder_settings().language_folder();
  context.distribution_address = app_.launch_record().download_root;
  context.executables = &app_.executables();
  context.driver_ui = [this](uint32_t wparam) { window_.DriverUi(wparam); };
  return context;
}

void DriverRun::NotEnoughDiskSpace(const char* detail) {
  const LaunchRecord& record = app_.launch_record();
  Event(hs_event::kInstallFailed);
  SendStepLog(app_, driver_step::kNoDiskSpace);
  Report(record.game_id, record.member_id, error_code::kDiskSpaceOrFiles,
         "Not enough disk space for Ludoria Files.", "IDS_FAIL_NOTENOUGH_FREESPACE");
  ErrorBoxById(error_code::kDiskSpaceOrFiles, IDS_FAIL_NOTENOUGH_FREESPACE, detail);
}

bool DriverRun::WaitAtFolderPage() {
  window_.DriverUi(driver_ui::kPageFolder);
  window_.WaitForUser();
  return !Stopped();
}

bool DriverRun::InstallSetupPackagesStep(int /*marked*/) {
  Event(hs_event::kPackagesToInstall);
  SendStepLog(app_, driver_step::kPackagesToInstall);
  CurrentStep(driver_step::kFolderPage);
  if (!WaitAtFolderPage()) return false;
  Event(hs_event::kUserStartedInstall);

  uint32_t total = 0;
  for (PackageDescriptor& package : app_.packages()) {
    if (!package.setup_selected) continue;
    package.setup_records.clear();
    package.setup_total = AppendSetupInstallRecords(package.update_list, &package.setup_records);
    total += package.setup_total;
  }
  if (Stopped()) return false;

  const InstallContext context = Context();
  if (CheckPackagesDiskSpace(context.install_folder, app_.packages(), true) == 0) {
    NotEnoughDiskSpace("packages");
    return false;
  }
  window_.DriverUi(driver_ui::kPageDownload);
  packages_downloaded_ = true;
  MeterControl::Main(app_).StartMainStaged(total);

  if (InstallSetupPackages(context, &app_.packages()) == 0) {
    Event(hs_event::kInstallFailed);
    Fail("download.setupfiles");
    return false;
  }
  cInstallFolderSettings& settings = app_.install_folder_settings();
  const LaunchRecord& record = app_.launch_record();
  settings.WriteRecord(record.game_id, record.game_code, record.version,
                       app_.catalogue().no_base2005);
  WriteUninstallEntry(settings.language_folder());
  settings.MarkWritten();
  SendStepLog(app_, driver_step::kPackagesInstalled);
  return true;
}

bool DriverRun::CheckFiles() {
  const bool any_marked = packages_downloaded_;
  CurrentStep(driver_step::kFileCheck);
  if (!any_marked) Show(230);

  app_.executables().clear();
  CheckAllPackageFiles(Context(), &app_.packages());
  std::vector<uint32_t> bytes;
  for (const PackageDescriptor& package : app_.packages()) {
    bytes.push_back(package.bytes_to_download);
  }
  cInstallFolderSettings& settings = app_.install_folder_settings();
  const InstallStates states = StatesAfterFileCheck(
      InstallStates{settings.install_state(), settings.game_key_state()}, bytes);
  settings.SetStates(states.folder, states.game_key);
  if (Stopped()) return false;
  if (!existing_check_ok_ || states.folder == kInstallStateRegistryError ||
      states.game_key == kInstallStateRegistryError) {
    Fail("installstate.unknown");
    return false;
  }

  if (WasComplete(states)) {
    nothing_to_do_ = true;
    Event(hs_event::kNothingToDo);
    window_.DriverUi(driver_ui::kPageRun);
    return true;
  }
  nothing_to_do_ = false;
  SendStepLog(app_, driver_step::kFilesToCheck);
  CurrentStep(driver_step::kFileUpdate);
  if (Stopped()) return false;
  if (CheckPackagesDiskSpace(Context().install_folder, app_.packages(), false) == 0) {
    NotEnoughDiskSpace("files");
    return false;
  }
  return true;
}

bool DriverRun::UpdateFiles() {
  uint32_t total = 0;
  for (const PackageDescriptor& package : app_.packages()) total += package.bytes_to_download;
  InstallStateMachine& machine = app_.state_machine();
  if (total != 0) {
    Event(hs_event::kFilesToUpdate);
    if (!app_.install_folder_settings().folder_page_shown) {
      if (!WaitAtFolderPage()) return false;
      Event(hs_event::kFileUpdateBegins);
      if (Stopped()) return false;
    }
    if (machine.current() == HS_STATE_READY_TO_UPDATE_FILE) Event(hs_event::kFileUpdateBegins);
    if (!packages_downloaded_) window_.DriverUi(driver_ui::kPageDownload);
    MeterControl::Main(app_).StartMainBatch(total);
  } else if (machine.current() == HS_STATE_WAITING_FOR_INSTALL_PACKAGE) {
    Event(hs_event::kPackagesInstalledNoFiles);
  }

  const InstallContext context = Context();
  const int failed = UpdateAllPackages(context, &app_.packages());
  if (failed >= 0) {
    Event(hs_event::kFileUpdateFailed);
    Fail(PackageFailureStep(app_.packages()[static_cast<std::size_t>(failed)].name));
    return false;
  }
  if (Stopped()) return false;
  if (machine.current() == HS_STATE_WAITING_FOR_UPDATE_FILE) Event(hs_event::kFilesUpdated);
  SendStepLog(app_, driver_step::kFilesUpdated);
  window_.DriverUi(driver_ui::kShow);
  DeleteUninstallFiles(context.install_folder, app_.packages());

  cInstallFolderSettings& settings = app_.install_folder_settings();
  const LaunchRecord& record = app_.launch_record();
  const bool recorded = settings.WriteRecord(record.game_id, record.game_code, record.version,
                                             app_.catalogue().no_base2005);
  const bool entered = recorded && WriteUninstallEntry(settings.language_folder());
  if (!recorded || !entered) {
    Fail("download.finish");
    return false;
  }
  return true;
}

bool DriverRun::StartTheGame() {
  const GameLaunch game =
      GameLaunchOf(app_, app_.install_folder_settings().create_desktop_shortcut != 0);
  if (!PrepareGame(game)) {
    Fail(nothing_to_do_ ? "doprevwork" : "doprevwork.2");
    return false;
  }
  if (window_.CountdownLeft() > 0) {
    if (!nothing_to_do_) window_.DriverUi(driver_ui::kPageRun);
    CurrentStep(driver_step::kCountdown);
    window_.WaitForCountdown();
  }
  if (Stopped()) return false;
  Event(hs_event::kGameStartBegins);
  Event(StartGame(game) ? hs_event::kGameStarted : hs_event::kGameStartFailed);
  return true;
}

}  // namespace ld
