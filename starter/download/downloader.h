// Single-file download over the Windows internet client library: the one
// routine through which the starter fetches its own new version, the game
// kind catalogue, update lists and package zips.
//
// Threads: the installation driver thread and the download workers (two at
// once, sharing one internet handle). The stop flag of cStarterApp is polled
// before the file is created and after every read. Failures are sent to the
// remote log (download_log.h) with code 0x88 and a text of at most 199
// characters; nothing is shown to the user here.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>

#include "core/install/download_rules.h"
#include "starter/download/progress_sink.h"

namespace ld {

// Bytes of the canonical address buffer (the terminating NUL included).
inline constexpr DWORD kCanonicalAddressBuffer = 2049;
// Tries of InternetOpenUrlA, back to back.
inline constexpr int kOpenAddressTries = 3;
// Always from the server, never into the cache.
inline constexpr DWORD kDownloadOpenFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
static_assert(kDownloadOpenFlags == 0x84000000);

// Downloads `remote_address` into `local_path` through `internet` (owned by
// the caller), reading pieces of `buffer_size` bytes (0: 10240). Every read,
// the final empty one included, adds its bytes to `meter_a` and then
// `meter_b` (either may be null), by the staged operation when `staged` is
// set. Any status but 200 fails before the local file is touched. An old
// file at `local_path` is deleted first (a failure is logged and the
// download goes on); the new one is written through, unshared. A failed read
// or write deletes the partial file; a stop request ends the download after
// the current piece with false and leaves the partial file on disk.
bool DownloadFile(HINTERNET internet, DWORD buffer_size, const std::string& local_path,
                  const std::string& remote_address, MeterControl* meter_a, MeterControl* meter_b,
                  bool staged);

}  // namespace ld
