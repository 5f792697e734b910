// Saving a window's picture for the UI probe.
#pragma once

#include <windows.h>

#include <string>

namespace ld::probe {

// Writes the window's picture as the screen shows it (so the window must be
// on top and on screen) to `path` as a 24-bit bottom-up BMP. False with a
// reason in `*error`.
bool SaveWindowPicture(HWND window, const std::wstring& path, std::string* error);

}  // namespace ld::probe
