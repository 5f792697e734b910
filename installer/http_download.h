// The installer's one download: a small file fetched over HTTP into a local
// file. Runs on the worker thread; blocks for at most three connection
// attempts and the receive time-out between pieces.
#pragma once

#include <string>

namespace ld::installer {

// Fetches `url` into `path` (replaced). True only when the server answered
// 200 and every byte arrived and was written; on false the caller deletes
// whatever part of `path` exists.
bool DownloadToFile(const std::string& url, const std::string& path);

}  // namespace ld::installer
