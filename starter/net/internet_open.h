// The starter's internet handles (direct access, no proxy): the downloads'
// ("Ludoria LudStart") and the report senders' (their own agents), and the
// receive time-out.
//
// Any thread may open a handle; the caller owns it (the wrapper closes it).
// A handle that cannot be opened after three tries comes back empty with the
// Windows error of the last try; nothing is reported here.
#pragma once

#include <windows.h>

#include "starter/platform/win_handle.h"

namespace ld {

inline constexpr char kDownloadAgent[] = "Ludoria LudStart";

// Receive time-outs of the callers.
inline constexpr DWORD kPackageReceiveTimeoutMs = 3000;
inline constexpr DWORD kUpdateListReceiveTimeoutMs = 30000;

// InternetOpenA with `agent`, direct access and an empty proxy name; on
// failure again with no proxy name; on failure once more as the first time.
InternetHandle OpenInternetHandle(const char* agent);

// OpenInternetHandle with the download agent.
inline InternetHandle OpenDownloadHandle() { return OpenInternetHandle(kDownloadAgent); }

// Sets the receive time-out of `handle` (and of the requests opened on it).
bool SetReceiveTimeout(HINTERNET handle, DWORD milliseconds);

}  // namespace ld
