// The starter's conversations with the portal's launch-string servers:
// obtain the second gamestring (old format: a GET to the gamestring server;
// new format: a copy), analyse it, and keep the credentials fresh through the
// identifier refresh (old format) and the token refresh (new format).
//
// Threads: the installation driver thread (its steps) and the main thread
// (the 120 s refresh timer) call these; every call blocks until done and
// opens and closes its own internet handles. The client does not lock: the
// owner of the launch record must not let two calls overlap. All failures are
// told to the user and the log as described per operation; none throws.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/settings/plum_hosts.h"
#include "core/launch/launch_record.h"
#include "core/launch/program_flags.h"
#include "core/settings/server_hosts.h"

namespace ld {

inline constexpr DWORD kGamestringReceiveTimeoutMs = 10000;
inline constexpr DWORD kIdentifierReceiveTimeoutMs = 30000;

// Deletes the cached launcher pages of a game; returns how many went.
using LauncherPageCleaner = std::function<int(const std::string& game_id)>;

// What the client works on. The record and the flags belong to the caller
// (the application object) and must outlive the client.
struct LaunchStringParties {
  LaunchRecord* record = nullptr;
  ProgramFlags* flags = nullptr;
  ServerHosts hosts;                         // new-format roots, portal domain
  PlumHosts plum;                            // identifier and token servers
  std::function<bool()> stop_requested;      // polled while the answer is read
  std::string kind_command_tail;             // command-line copy kept in kind mode
  LauncherPageCleaner clean_launcher_pages;  // empty: the browser cache clean-up
};

class LaunchStringClient {
 public:
  explicit LaunchStringClient(LaunchStringParties parties);

  // Fills the second gamestring. Old format: canonicalises the address of the
  // first gamestring, moves the moved-key pairs out of it, GETs it (10 s
  // receive time-out) and reads the answer; inserts the moved fields and
  // takes the ticket back into the first gamestring. False after an error
  // box and report (no box when the stop flag ended the read).
  bool Obtain();

  // Runs the record's analysis. False after the boxes, the report and the
  // clean-up of cached launcher pages.
  bool Analyse();

  // Old format: POSTs the identifier query to the zone's plum server (30 s);
  // a non-empty answer becomes the identifier, which is written into the
  // second gamestring. False when no request was sent, *error then holding
  // the Windows error of a failed send, or when the server answered outside
  // 2xx, *error then holding the status; the record is unchanged then.
  bool RefreshIdentifier(DWORD* error);

  // New format: POSTs the form body over HTTPS and, when sending fails, over
  // plain HTTP; the JSON answer renews P4 and P8. False when no answer could
  // be parsed, *error holding the Windows error of the last failed send, or
  // when the server answered outside 2xx, *error then holding the status;
  // the record is unchanged then.
  bool RefreshToken(DWORD* error);

  // Whether "&clk2=1" is still to be added (once per run).
  bool clk2_pending() const { return clk2_pending_; }

 private:
  void ReportEvent(std::uint32_t code, const std::string& body, const char* resource = nullptr);

  LaunchStringParties parties_;
  LaunchRecord& record_;
  ProgramFlags& flags_;
  bool clk2_pending_ = true;
};

// Reports a failed refresh ("PLUM Error. Code : [%08X]" with its error) for
// the given ids: the driver after its analysis, the refresh timer on the
// window's thread. Any thread; the report is sent by a thread of its own.
void ReportRefreshFailure(const std::string& game_id, const std::string& member_id, DWORD error);

}  // namespace ld
