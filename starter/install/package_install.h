// Installation of the packages of a launch, as the installation driver calls
// it: the setup archives of the selected packages, the file check of every
// package, the file update package by package (download batch, unpacking,
// verification and the user's messages), and the removal of the files the
// update lists name for uninstallation.
//
// Threads: the installation driver thread; the download batch runs its
// workers underneath. The window is reached only through the context's
// driver_ui callback (the driver's synchronous UI send).
//
// Failures are told to the user here (strings 179 and 180) and answered as
// results; install package may end the whole process with exit code -1 when
// the user chooses to stop after files could not be replaced.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/install/executable_list.h"
#include "core/install/install_paths.h"
#include "core/install/package_descriptor.h"
#include "starter/install/package_verify.h"

namespace ld {

class cStarterApp;

// UWM_DRIVER_UI arguments sent from here.
inline constexpr uint32_t kDriverUiFileProgress = 0x30001;  // two-bar file progress
inline constexpr uint32_t kDriverUiSetupMessage = 0x50001;  // fixed message string 241
inline constexpr uint32_t kDriverUiNoMessage = 0x50000;     // fixed message emptied

// Read piece of a setup archive download.
inline constexpr DWORD kSetupArchiveBuffer = 40960;
// Receive time-out of the setup archive downloads.
inline constexpr DWORD kSetupReceiveTimeoutMs = 1000;

// What the installation steps share for one run. Owned by the driver; the
// pointers must outlive the calls.
struct InstallContext {
  cStarterApp* app = nullptr;
  std::string install_folder;        // F of the path rules
  std::string distribution_address;  // launch string's k89e, or zone root + "/dist"
  ExecutableList* executables = nullptr;
  // Sends UWM_DRIVER_UI with this wParam (the driver's UI send). Empty: no
  // window.
  std::function<void(uint32_t)> driver_ui;
  // Empty: the log-and-crash service (ServiceRemoteLog).
  RemoteLogFn remote_log;
  // Ends the process with the given code. Empty: ExitProcess.
  std::function<void(int)> exit_process;
};

// Where the files of `package` come from.
PackageSource SourceOf(const InstallContext& context, const PackageDescriptor& package);

// Installs the files of `package` whose records need an update: builds the
// download list, runs the batch, verifies. True when the package is done,
// which includes a stop by the user (then nothing is verified). False after
// string 179 when files could not be downloaded. When files could not be
// replaced, string 180 asks whether to stop: No continues with true, any
// other answer ends the process with -1.
bool InstallPackage(const InstallContext& context, PackageDescriptor& package);

// The setup archives of one package, each downloaded whole into its folder
// (which becomes the process's current folder) and unpacked there entry by
// entry, on the file meter ("PROGRESS2") and the main meter. 1 when every
// archive was done, 0 when the stop flag was seen, -1 when a download failed.
// `entry_count` (may be null) gets the entry count of the first archive that
// was opened.
int UpdateSetupArchives(HINTERNET internet, const InstallContext& context,
                        const PackageDescriptor& package, uint32_t* entry_count);

// The driver's setup package installation: every package with setup records,
// in install order (core/install/package_order.h), on one internet handle. -1 without a handle; 0
// when the stop flag ended it; otherwise 1 with bit (index + 1) mod 32 set for every package whose
// archives were all installed (a package whose download failed sets none; its files come again with
// the file update).
int InstallSetupPackages(const InstallContext& context, std::vector<PackageDescriptor>* packages);

// The driver's file check: every package's records checked in list order and
// its byte count stored in bytes_to_download.
void CheckAllPackageFiles(const InstallContext& context, std::vector<PackageDescriptor>* packages);

// The driver's file update: InstallPackage for every package with bytes to
// download, in install order. The index of the package that failed, or -1.
int UpdateAllPackages(const InstallContext& context, std::vector<PackageDescriptor>* packages);

// Deletes every file the packages' update lists name for uninstallation
// (attributes made normal first); failures are ignored.
void DeleteUninstallFiles(const std::string& install_folder,
                          const std::vector<PackageDescriptor>& packages);

}  // namespace ld
