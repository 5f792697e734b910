// The state of one driver run shared by the driver's step files. Internal to
// starter/driver; driver thread only.
#pragma once

#include <cstdint>
#include <string>

#include "starter/install/package_install.h"

namespace ld {

class cStarterApp;
class DriverWindow;

class DriverRun {
 public:
  DriverRun(cStarterApp& app, DriverWindow& window) : app_(app), window_(window) {}

  // Steps 1 to 24; the end steps follow in Finish.
  void Steps();
  // The end steps: step log 250, the fatal box, the waits, WM_CLOSE. Returns
  // the driver's result.
  int Finish();

 private:
  // Returns false when the run must go to its end (stop, failure, or a
  // failure already told).
  bool ObtainAndAnalyse();
  bool LoadLists();
  bool InstallSetupPackagesStep(int marked);
  bool CheckFiles();
  bool UpdateFiles();
  bool StartTheGame();

  bool Stopped() const;
  void Fail(const std::string& step) { failure_step_ = step; }
  void Event(int event);
  void Show(unsigned string_id);
  void CurrentStep(int step);
  void NotEnoughDiskSpace(const char* detail);
  bool WaitAtFolderPage();
  InstallContext Context();

  cStarterApp& app_;
  DriverWindow& window_;
  std::string failure_step_;
  int result_ = 1;
  bool packages_downloaded_ = false;
  bool nothing_to_do_ = false;
  bool existing_check_ok_ = true;
};

}  // namespace ld
