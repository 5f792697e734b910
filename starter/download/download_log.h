// Where the downloader, the update-list fetch and the catalogue load send
// their remote-log records. By default a record goes to the log-and-crash
// service with the game id and member id of the launch-string record; a test
// (or a program without the service) installs a hook instead.
//
// Threads: the driver thread and the download workers log; the hook is
// swapped only while nothing downloads (start-up or inside a test). Logging
// never fails visibly.
#pragma once

#include <cstdint>
#include <string>

namespace ld {

// Receives one record: its code and its text (ANSI code page).
using DownloadLogHook = void (*)(std::uint32_t code, const char* text);

// Installs `hook` and returns the previous one; null restores the default.
DownloadLogHook SetDownloadLogHook(DownloadLogHook hook);

// Sends one record through the hook in use.
void LogDownloadEvent(std::uint32_t code, const std::string& text);

}  // namespace ld
