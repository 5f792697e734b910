// The starter's update of itself: the check against the published version
// (old starter), the wait for the old starter and the copy over the installed
// starter (clone), the lock that orders the two, and the check of the shell
// libraries the starter needs.
//
// Threads: the main thread, before the installation window exists (the
// library check runs in the environment check). Failures are silent: every
// result but kSelfUpdateCloneStarted lets the running program go on.
#pragma once

#include <string>

#include "core/self_update/self_update_rules.h"

namespace ld {

class cStarterApp;
struct RuntimeLibraryVersions;

// Receive time-out of the self-update downloads.
inline constexpr unsigned kSelfUpdateReceiveTimeoutMs = 3000;
// How long a clone waits for the old starter to end.
inline constexpr unsigned kCloneWaitMs = 3000;
// Shlwapi 4.71, the oldest shell the starter works with.
inline constexpr unsigned kMinimumShellUtilityVersion = 0x00040047;

// Compares the running program with the published one and, when that is
// newer (or a rollback of a different build is ordered), downloads it into
// the temporary folder, marks it hidden and starts it with "/clone " and the
// launch address of `command_line`, holding the self-update lock. Keeps the
// published version text in the application object. One of SelfUpdateResult.
int CheckSelfUpdate(cStarterApp& app, const std::string& command_line);

// Clone run: waits at most kCloneWaitMs for the old starter's lock. 1 when
// the lock is gone or was obtained, 2 when it is still held.
int WaitForOldStarter();

// Clone run: copies the running program over "<starter data>\<file name>"
// (after 100 ms). The result is not checked: the clone installs anyway.
void CopyCloneOverInstalledStarter();

// Releases and closes the self-update lock, if this process holds it.
void ReleaseSelfUpdateLock();

// Reads the shell and common-controls library versions into `versions`;
// true when the shell utility library is at least kMinimumShellUtilityVersion.
bool CheckShellLibraries(RuntimeLibraryVersions* versions);

}  // namespace ld
