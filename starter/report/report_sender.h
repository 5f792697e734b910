// The log-and-crash record: built on the reporting thread, posted to the
// collection service on a short-lived thread of its own ("Tracebook" agent),
// fire and forget. No failure is shown or retried.
//
// Threads: Report is called from the main thread and the installation driver
// thread; the post runs on its own thread. Nobody waits for report threads in
// the program; tests do with WaitForReportSenders.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace ld {

inline constexpr char kReportAgent[] = "Tracebook";
inline constexpr char kReportPath[] = "/tracebook/v1/log";

// Builds the record (game id, member id and code as given; body, resource
// name and executor only when not null) and starts its sender. Texts are in
// the ANSI code page (Korean in code page 949). A record that cannot be
// built or a thread that cannot be started is dropped silently.
void Report(const std::string& game_id, const std::string& member_id, std::uint32_t code,
            const char* body = nullptr, const char* resource_name = nullptr,
            const char* executor = nullptr);

// Starts a sender for a ready document to `host` (a "host[:port]") and the
// collection path. False when it was dropped.
bool StartReportSender(const std::string& host, const std::string& document);

// Waits at most timeout_ms for the running report senders (tests).
bool WaitForReportSenders(DWORD timeout_ms);

// The Windows version as "major.minor.build" numbers, as the record's
// "osInfo" reports it.
void WindowsVersion(int* major, int* minor, int* build);

}  // namespace ld
