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
  auto rest = [&](const char* prefix) -> const char* {
    size_t n = std::char_traits<char>::length(prefix);
    return query.compare(0, n, prefix) == 0 ? query.c_str() + n : nullptr;
  };
  if (const char* r = rest("class:")) {
    out->kind = WindowQuery::Kind::kClass;
    out->text = Widen(r);
  } else if (const char* r = rest("title:")) {
    out->kind = WindowQuery::Kind::kTitle;
    out->text = Widen(r);
  } else if (const char* r = rest("hwnd:")) {
    out->kind = WindowQuery::Kind::kHandle;
    out->handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(r, nullptr, 0)));
    return out->handle != nullptr;
  } else {
    return false;
  }
  return !out->text.empty();
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

struct TopSearch {
  const WindowQuery* query;
  HWND found;
};

BOOL CALLBACK MatchTop(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopSearch*>(param);
  if (!::IsWindowVisible(window)) return TRUE;
  bool match = search->query->kind == WindowQuery::Kind::kClass
                   ? SameNoCase(ClassOf(window), search->query->text)
                   : TextOf(window).find(search->query->text) != std::wstring::npos;
  if (!match) return TRUE;
  search->found = window;
  return FALSE;
}

struct BoxSearch {
  const std::wstring* text;
  HWND found;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}

// A named callback, not a lambda: 32-bit builds need its stdcall convention.
BOOL CALLBACK MatchBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  if (!::IsWindowVisible(window) || ClassOf(window) != L"#32770") return TRUE;
  bool match = TextOf(window).find(*search->text) != std::wstring::npos;
  for (const ControlInfo& info : ListControls(window))
    match = match || (SameNoCase(info.class_name, L"Static") &&
                      info.text.find(*search->text) != std::wstring::npos);
  if (!match) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindTopWindow(const WindowQuery& query) {
  if (query.kind == WindowQuery::Kind::kHandle)
    return ::IsWindow(query.handle) ? query.handle : nullptr;
  TopSearch search{&query, nullptr};
  ::EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitTopWindow(const WindowQuery& query, bool want_present, DWORD timeout_ms, bool* met) {
  DWORD start = ::GetTickCount();
  for (;;) {
    HWND window = FindTopWindow(query);
    if ((window != nullptr) == want_present) {
      *met = true;
      return window;
    }
    if (::GetTickCount() - start >= timeout_ms) {
      *met = false;
      return window;
    }
    ::Sleep(50);
  }
}

std::vector<ControlInfo> ListControls(HWND top) {
  std::vector<HWND> children;
  ::EnumChildWindows(top, CollectChild, reinterpret_cast<LPARAM>(&children));
  std::vector<ControlInfo> out;
  for (HWND child : children) {
    ControlInfo info{};
    info.handle = child;
    info.class_name = ClassOf(child);
    info.id = ::GetDlgCtrlID(child);
    info.text = TextOf(child);
    ::GetWindowRect(child, &info.rect);
    ::MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&info.rect), 2);
    info.visible = ::IsWindowVisible(child) != FALSE;
    info.enabled = ::IsWindowEnabled(child) != FALSE;
    info.checked = -1;
    if (SameNoCase(info.class_name, L"Button")) {
      LONG type = ::GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
      if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
          type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
        info.checked = static_cast<int>(::SendMessageW(child, BM_GETCHECK, 0, 0));
    }
    out.push_back(info);
  }
  return out;
}

HWND FindControl(HWND top, const std::string& which) {
  bool by_text = which.compare(0, 5, "text:") == 0;
  std::wstring text = by_text ? Widen(which.substr(5)) : std::wstring();
  char* end = nullptr;
  long id = by_text ? 0 : std::strtol(which.c_str(), &end, 0);
  if (!by_text && (which.empty() || *end != '\0')) return nullptr;
  for (const ControlInfo& info : ListControls(top)) {
    if (by_text ? info.text == text : info.id == id) return info.handle;
  }
  return nullptr;
}

HWND FindMessageBox(const std::wstring& text) {
  BoxSearch search{&text, nullptr};
  ::EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace ld::probe
