// The starter's message loop: every message is first offered to the
// accelerator table against the installation window (so Enter, Escape and
// Ctrl+X work whichever control has the focus), the rest is translated and
// dispatched. Main thread only.
#pragma once

#include <windows.h>

namespace ld {

// Runs until the quit message and returns its wParam.
int RunMessageLoop(HWND window, HACCEL accelerators);

// Handles the messages already queued, the same way, and returns. False when
// the quit message was among them.
bool PumpMessages(HWND window, HACCEL accelerators);

// Accelerator table 260 of the program's resources (null when missing).
HACCEL LoadStarterAccelerators();

}  // namespace ld
