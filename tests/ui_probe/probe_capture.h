// Saving a window's picture for the UI probe.
#pragma once

#include <windows.h>

#include <string>

namespace ld::probe {

// Writes the window's current picture to `path` as a 24-bit bottom-up BMP.
// From the screen by default (what the user sees, so the window must be on
// top and on screen); with `print` the window draws itself through
// PrintWindow. False with a reason in `*error`.
bool SaveWindowPicture(HWND window, const std::wstring& path, bool print, std::string* error);

}  // namespace ld::probe
