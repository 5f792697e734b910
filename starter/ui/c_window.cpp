#include "starter/ui/c_window.h"

#include <cstring>

#include "core/ui/font_metrics.h"
#include "starter/report/box_presenter.h"

namespace ld {
namespace {

HINSTANCE g_instance = nullptr;
cWindow* g_main_window = nullptr;
bool g_default_class_registered = false;

// The object a creation call on this thread is about to bind, and the hook
// that binds it. Nested creations (a control made inside OnCreate) keep the
// outer call's hook.
thread_local cWindow* t_waiting = nullptr;
thread_local HHOOK t_hook = nullptr;

bool IsImeWindow(HWND window) {
  if (::GetClassLongPtrA(window, GCL_STYLE) & CS_IME) return true;
  char name[16] = {};
  ::GetClassNameA(window, name, sizeof name);
  return ::lstrcmpiA(name, "ime") == 0;
}

}  // namespace

LRESULT CALLBACK CreationHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND && t_waiting != nullptr) {
    HWND window = reinterpret_cast<HWND>(wparam);
    if (!IsImeWindow(window)) {
      cWindow* object = t_waiting;
      auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC));
      if (current != FrameworkWindowProc) {
        object->previous_proc_ = current;
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameworkWindowProc));
      }
      ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
      object->hwnd_ = window;
      t_waiting = nullptr;
    }
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

cWindow* cWindow::FromHandle(HWND window) {
  if (window == nullptr || !::IsWindow(window)) return nullptr;
  // User data of windows of other code means something else.
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)) != FrameworkWindowProc) {
    return nullptr;
  }
  return reinterpret_cast<cWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* object = reinterpret_cast<cWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (object == nullptr) return ::DefWindowProcA(window, message, wparam, lparam);
  const WNDPROC previous = object->previous_proc_;
  const LRESULT result = object->WindowProc(message, wparam, lparam);
  LRESULT answer;
  if (previous != nullptr) {
    answer = result != 0 ? ::CallWindowProcA(previous, window, message, wparam, lparam) : 0;
  } else {
    answer =
        result == kDefaultProcessing ? ::DefWindowProcA(window, message, wparam, lparam) : result;
  }
  if (message == WM_NCDESTROY) {
    // The window is gone; the object stays and may be bound again.
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    object->hwnd_ = nullptr;
    object->previous_proc_ = nullptr;
  }
  return answer;
}

cWindow::~cWindow() {
  if (hwnd_ == nullptr || !::IsWindow(hwnd_)) return;
  HWND window = hwnd_;
  // Detach first, so nothing the window still receives reaches a dead object.
  ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (previous_proc_ != nullptr) {
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_proc_));
  }
  hwnd_ = nullptr;
  if (owns_window_) ::DestroyWindow(window);
}

void cWindow::Enable(bool enable) {
  if (hwnd_ != nullptr) ::EnableWindow(hwnd_, enable ? TRUE : FALSE);
}
int cWindow::OnCreate(CREATESTRUCTA*) { return 1; }
void cWindow::OnCommand(HWND, int, int) {}
bool cWindow::OnEraseBackground(HDC) { return true; }
void cWindow::OnCommandZero(int) {}
LRESULT cWindow::OnHitTest(int, int) { return kDefaultProcessing; }
void cWindow::OnAccelerator(int) {}
LRESULT cWindow::OnSysCommand(WPARAM, int, int) { return kDefaultProcessing; }
void cWindow::OnTimer(UINT_PTR) {}
void cWindow::OnDrawItem(DRAWITEMSTRUCT*) {}

LRESULT cWindow::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lparam)) == -1 ? -1 : kDefaultProcessing;
    case WM_ERASEBKGND:
      return OnEraseBackground(reinterpret_cast<HDC>(wparam)) ? 0 : kDefaultProcessing;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
      if (item != nullptr) {
        if (cWindow* control = FromHandle(item->hwndItem)) control->OnDrawItem(item);
      }
      return 0;
    }
    case WM_NCHITTEST:
      return OnHitTest(static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)));
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const int code = HIWORD(wparam);
      HWND control = reinterpret_cast<HWND>(lparam);
      if (code == 1) {
        OnAccelerator(id);
      } else if (code != 0) {
        OnCommand(control, id, code);
      } else if (id == 0 && lparam == 0) {
        OnCommandZero(0);
      } else if (control != nullptr && ::IsWindow(control)) {
        OnCommand(control, id, 0);
      }
      // A menu command (no control window) is ignored: the starter has no menus.
      return 0;
    }
    case WM_SYSCOMMAND:
      return OnSysCommand(wparam, static_cast<short>(LOWORD(lparam)), HIWORD(lparam));
    case WM_TIMER:
      OnTimer(wparam);
      return kDefaultProcessing;
    default:
      return kDefaultProcessing;
  }
}

bool cWindow::Create(DWORD ex_style, const char* class_name, const char* title, DWORD style,
                     HMENU menu_or_id, int x, int y, int width, int height, HWND parent,
                     bool adjust_size) {
  EnsureDefaultClass();
  if (adjust_size) {
    FrameMetrics metrics;
    metrics.border_width = ::GetSystemMetrics(SM_CXBORDER);
    metrics.border_height = ::GetSystemMetrics(SM_CYBORDER);
    metrics.caption_height = ::GetSystemMetrics(SM_CYCAPTION);
    metrics.edge_width = ::GetSystemMetrics(SM_CXEDGE);
    metrics.edge_height = ::GetSystemMetrics(SM_CYEDGE);
    AdjustWindowSize(style, ex_style, metrics, &width, &height);
  }
  cWindow* outer_waiting = t_waiting;
  const bool install_hook = t_hook == nullptr;
  t_waiting = this;
  if (install_hook) {
    t_hook = ::SetWindowsHookExA(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId());
  }
  HWND window = ::CreateWindowExA(ex_style, class_name, title, style, x, y, width, height, parent,
                                  menu_or_id, ProgramInstance(), nullptr);
  if (install_hook && t_hook != nullptr) {
    ::UnhookWindowsHookEx(t_hook);
    t_hook = nullptr;
  }
  t_waiting = outer_waiting;
  hwnd_ = window;
  return window != nullptr;
}

bool cWindow::CreateChild(DWORD ex_style, const char* class_name, const char* title, DWORD style,
                          int id, int left, int top, int right, int bottom, cWindow* parent) {
  HWND parent_window = parent != nullptr ? parent->hwnd() : nullptr;
  return Create(ex_style, class_name, title, style,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), left, top, right - left,
                bottom - top, parent_window, false);
}

void cWindow::CentreOnScreen(int width, int height) {
  if (hwnd_ == nullptr) return;
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  ::SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int cWindow::GetText(char* buffer, int size) const {
  if (buffer == nullptr || size <= 0) return 0;
  buffer[0] = '\0';
  if (hwnd_ == nullptr) return 0;
  return ::GetWindowTextA(hwnd_, buffer, size);
}

std::string cWindow::Text(int size) const {
  std::string text(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
  const int n = GetText(&text[0], size);
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return text;
}

void cWindow::SetText(const char* text) {
  if (hwnd_ != nullptr) ::SetWindowTextA(hwnd_, text != nullptr ? text : "");
}

void SetProgramInstance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE ProgramInstance() {
  return g_instance != nullptr ? g_instance : ::GetModuleHandleA(nullptr);
}

void SetMainWindow(cWindow* window) { g_main_window = window; }
cWindow* MainWindow() { return g_main_window; }

ATOM RegisterWindowClass(const char* class_name, int icon_id, int small_icon_id,
                         const char* cursor) {
  HINSTANCE instance = ProgramInstance();
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FrameworkWindowProc;
  wc.cbWndExtra = 4;
  wc.hInstance = instance;
  wc.hIcon = icon_id != 0 ? ::LoadIconA(instance, MAKEINTRESOURCEA(icon_id))
                          : ::LoadIconA(nullptr, IDI_APPLICATION);
  wc.hIconSm = small_icon_id != 0
                   ? static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(small_icon_id),
                                                     IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), 0))
                   : ::LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = ::LoadCursorA(nullptr, cursor != nullptr ? cursor : IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = class_name;
  return ::RegisterClassExA(&wc);
}

void EnsureDefaultClass() {
  if (g_default_class_registered) return;
  g_default_class_registered = true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FrameworkWindowProc;
  wc.cbWndExtra = 4;
  wc.hInstance = ProgramInstance();
  wc.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
  wc.hIconSm = ::LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = kDefaultClassName;
  ::RegisterClassExA(&wc);
}

int FrameworkMessageBox(const char* text, const char* caption) {
  std::string title;
  if (caption != nullptr) {
    title = caption;
  } else if (g_main_window != nullptr) {
    title = g_main_window->Text(260);
  }
  return CurrentBoxPresenter().Show(nullptr, text != nullptr ? text : "", title, 0);
}

}  // namespace ld
