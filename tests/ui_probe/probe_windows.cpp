#include "tests/ui_probe/probe_windows.h"

#include <cstdlib>
#include <cwctype>

namespace ld::probe {

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
  return out;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return std::string();
  int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
  return out;
}

bool ParseWindowQuery(const std::string& query, WindowQuery* out) {
  const size_t colon = query.find(':');
  if (colon == std::string::npos) return false;
  const std::string kind = query.substr(0, colon), rest = query.substr(colon + 1);
  if (kind == "hwnd") {
    out->kind = WindowQuery::Kind::kHandle;
    out->handle =
        reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(rest.c_str(), nullptr, 0)));
    return out->handle != nullptr;
  }
  out->kind = kind == "class" ? WindowQuery::Kind::kClass : WindowQuery::Kind::kTitle;
  out->text = Widen(rest);
  return (kind == "class" || kind == "title") && !out->text.empty();
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  // WM_GETTEXT crosses processes for every window class; a hung owner must
  // not hang the probe.
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 2000, &copied))
    return std::wstring();
  return std::wstring(text, copied);
}

namespace {

bool SameNoCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() &&
         ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// A named callback, not a lambda: 32-bit builds need its stdcall convention.
BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

// The children of `parent`, or the top-level windows when it is null.
std::vector<HWND> Windows(HWND parent) {
  std::vector<HWND> found;
  if (parent != nullptr)
    ::EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&found));
  else
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

HWND FindTopWindow(const WindowQuery& query) {
  if (query.kind == WindowQuery::Kind::kHandle)
    return ::IsWindow(query.handle) ? query.handle : nullptr;
  for (HWND window : Windows(nullptr)) {
    if (!::IsWindowVisible(window)) continue;
    if (query.kind == WindowQuery::Kind::kClass
            ? SameNoCase(ClassOf(window), query.text)
            : TextOf(window).find(query.text) != std::wstring::npos)
      return window;
  }
  return nullptr;
}

std::vector<ControlInfo> ListControls(HWND top) {
  std::vector<ControlInfo> out;
  for (HWND child : Windows(top)) {
    out.push_back({child, ClassOf(child), ::GetDlgCtrlID(child), TextOf(child),
                   ::IsWindowVisible(child) != FALSE});
  }
  return out;
}

HWND FindControl(HWND top, const std::string& which) {
  char* end = nullptr;
  const long id = std::strtol(which.c_str(), &end, 0);
  if (which.empty() || *end != '\0') return nullptr;
  for (const ControlInfo& info : ListControls(top)) {
    if (info.id == id) return info.handle;
  }
  return nullptr;
}

HWND FindMessageBox(const std::wstring& text) {
  for (HWND window : Windows(nullptr)) {
    if (!::IsWindowVisible(window) || ClassOf(window) != L"#32770") continue;
    bool match = TextOf(window).find(text) != std::wstring::npos;
    for (const ControlInfo& info : ListControls(window))
      match = match || (SameNoCase(info.class_name, L"Static") &&
                        info.text.find(text) != std::wstring::npos);
    if (match) return window;
  }
  return nullptr;
}

}  // namespace ld::probe
