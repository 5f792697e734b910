// Finding and reading other processes' windows for the UI probe. Everything
// here runs on the probe's one thread; the windows belong to other programs,
// so every call may find a window gone between two steps and reports that as
// "not found" rather than failing harder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ld::probe {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);

// Which top-level window a command means: "class:NAME" (exact, any case),
// "title:TEXT" (the title contains TEXT) or "hwnd:0x1234". Only visible
// windows match a class or a title.
struct WindowQuery {
  enum class Kind { kClass, kTitle, kHandle } kind = Kind::kTitle;
  std::wstring text;
  HWND handle = nullptr;
};

// False when `query` is none of the forms above.
bool ParseWindowQuery(const std::string& query, WindowQuery* out);

// The first matching top-level window, or null.
HWND FindTopWindow(const WindowQuery& query);

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);

// Every child control of `top`, in creation order.
struct ControlInfo {
  HWND handle;
  std::wstring class_name;
  int id;
  std::wstring text;
  bool visible;
};
std::vector<ControlInfo> ListControls(HWND top);

// The control whose id `which` names ("1000"); null when there is none.
HWND FindControl(HWND top, const std::string& which);

// A message box (dialog class "#32770") whose title or any static text
// contains `text`; null when none is up.
HWND FindMessageBox(const std::wstring& text);

}  // namespace ld::probe
