// How the installation driver thread reaches the installation window: the UI
// send operation and the wait-for-user operation. Called on the driver thread
// (never on the window's own thread, which would wait for itself).
#pragma once

#include <windows.h>

namespace ld {

class cMainWindow;
class cStarterApp;

// Sends `message` to the window while it exists and then yields the
// processor; does nothing once the window is gone (answer 0). The send is
// synchronous: the window's change has finished when this returns. Waits
// first while the stop question holds the driver.
LRESULT UiSend(cMainWindow* window, UINT message, WPARAM wparam, LPARAM lparam);

// The asynchronous variant for progress only: posts `message` while the
// window exists and returns at once (false when nothing was posted). Any
// thread; the window's thread handles it when it gets to it.
bool UiPost(cMainWindow* window, UINT message, WPARAM wparam, LPARAM lparam);

// Waits for the user (the start button, the end of the countdown): asks the
// window to check its web panels until both have loaded; with `countdown`
// leaves when the window's countdown has run out; waits on the application's
// wake event 30 ms (countdown) or 400 ms at a time and leaves when it is set.
// Returns at once when the stop flag is set (checked before every wait).
void WaitForUser(cStarterApp& app, cMainWindow* window, bool countdown);

}  // namespace ld
