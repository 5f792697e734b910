// The launch-string client of the application object: one per process, so
// the once-per-run "&clk2=1" rule holds across the driver's steps and the
// refresh timer. Built on first use from cStarterApp (its launch record,
// flags, options and stop flag); the first call must come after start-up has
// read the options. Threads: as LaunchStringClient (driver thread and the
// main thread's refresh timer, never at the same time).
#pragma once

#include "starter/launch/launch_string_client.h"

namespace ld {

LaunchStringClient& StarterLaunchStringClient();

}  // namespace ld
