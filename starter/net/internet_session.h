// The WinINet steps both sender kinds share: the root handle with its
// receive time-out and the connection to a "host[:port]".
//
// Called on the sender job threads; each call makes handles that the caller
// owns (closed by the wrappers). Failures give an empty handle; nothing is
// reported.
#pragma once

#include <cstddef>
#include <string>

#include "starter/platform/win_handle.h"

namespace ld {

inline constexpr DWORD kSenderReceiveTimeoutMs = 3000;
// Host names longer than a job's host field are cut to it.
inline constexpr std::size_t kSenderHostMax = 260;

// OpenInternetHandle with `agent` (its three tries), with the receive time-out
// of kSenderReceiveTimeoutMs set on the handle.
InternetHandle OpenSenderRoot(const char* agent);

// HTTP connection to `host` ("name" or "name:port"; the default HTTP port
// without one), empty user name and password.
InternetHandle ConnectHttp(const InternetHandle& root, const std::string& host);

// An HTTP request of `verb` for `path` on `connection`, bypassing the cache.
InternetHandle OpenHttpRequest(const InternetHandle& connection, const char* verb,
                               const std::string& path);

}  // namespace ld
