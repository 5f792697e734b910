// The check that follows a package's download batch: every item is looked at
// again on disk, files not downloaded or not replaced are counted, program
// files whose byte sum differs are shown, and size and time mismatches are
// reported to the remote log.
//
// Threads: the installation driver thread, after DownloadBatch::Run has
// returned (the workers have finished every item then). Support boxes block
// the driver only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/install/executable_list.h"

namespace ld {

class cStarterApp;
class DownloadBatch;

// One remote-log record: code, text (ANSI code page) and resource name (may
// be null).
using RemoteLogFn =
    std::function<void(uint32_t code, const std::string& text, const char* resource_name)>;

// The log-and-crash service with the game id and member id of the
// application's launch record.
RemoteLogFn ServiceRemoteLog(cStarterApp& app);

// Verifies the items of `batch` for package `package_name`:
// - downloaded program files found as "<install folder>\<name>" join
//   `executables` with the size and byte sum measured now;
// - an item not downloaded goes to the failed list, one whose old file was
//   not removed (or whose new file cannot be read) to the unreplaced list;
// - a size other than the record's, or a time in another minute, adds a row
//   to the size or time report; a program file with another byte sum is
//   shown in a support box.
// Returns -1 when any file was not downloaded (kind mode lists them), else
// the number of files not replaced (kind mode lists them), else 0 after the
// reports went to `remote_log` with code 0x18000A and the workers were
// waited for (at most 3000 ms). The stop flag ends the item walk early.
int32_t VerifyPackage(cStarterApp& app, const std::string& package_name,
                      const std::string& install_folder, DownloadBatch& batch,
                      ExecutableList* executables, const RemoteLogFn& remote_log);

}  // namespace ld
