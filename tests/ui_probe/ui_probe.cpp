// ui_probe: drives and inspects the windows of another program, for tests that
// run Windows programs under Wine (or on Windows) and check what a user sees.
//
//   ui_probe COMMAND ARGS...      runs one command
//   ui_probe -                    runs commands read from stdin, one a line;
//                                 words split at blanks, "double quotes" group
//                                 words, lines starting with # are skipped; the
//                                 first failing command ends the run
//
// WINDOW is "class:NAME" (exact class), "title:TEXT" (title contains TEXT) or
// "hwnd:0x1234". CONTROL is a control id ("1000").
// Arguments are UTF-8; output is UTF-8. Under Wine, command-line arguments
// are converted by the Unix locale, so texts outside ASCII (Korean titles)
// only arrive intact through the script input on stdin.
//
//   wait WINDOW [MS]            wait until the window is up; prints hwnd:0x...
//   gone WINDOW [MS]            wait until no such window is up
//   list WINDOW                 one line per child control:
//                               id=ID class=C visible=0|1 enabled=0|1 text=TEXT
//                               (text last, up to the line end, a line
//                               break in it written as \n)
//   click WINDOW CONTROL        presses the button as a mouse click would
//                               (BM_CLICK, posted: a modal loop it opens
//                               does not block the probe)
//   key WINDOW KEY              posts a key press (enter, escape, tab, space
//                               or a virtual-key number) to the focused
//                               control of the window's thread
//   hover WINDOW CONTROL        moves the mouse pointer onto the control
//   close WINDOW                asks the window to close (posts WM_CLOSE)
//   answer TEXT BUTTON [MS]     waits for a message box whose title or text
//                               contains TEXT and presses yes|no|ok|cancel
//   shot WINDOW FILE.bmp        saves the window's picture, as the screen
//                               shows it, as a 24-bit BMP
//   sleep MS
//
// MS defaults to 10000. Exit codes: 0 done, 1 usage or a failed action,
// 2 a window or control not found / a wait that timed out.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "tests/ui_probe/probe_capture.h"
#include "tests/ui_probe/probe_windows.h"

namespace ld::probe {
namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kNotFound = 2;
constexpr DWORD kDefaultWaitMs = 10000;

using Args = std::vector<std::string>;

void Print(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "ui_probe: %s\n", message.c_str());
  return code;
}

DWORD WaitArg(const Args& args, size_t at) {
  return args.size() > at ? static_cast<DWORD>(std::strtoul(args[at].c_str(), nullptr, 10))
                          : kDefaultWaitMs;
}

// Resolves args[1] to a window that is up now.
int TopArg(const Args& args, HWND* window) {
  WindowQuery query;
  if (args.size() < 2 || !ParseWindowQuery(args[1], &query))
    return Fail(kFailed, "expected a window (class:..., title:..., hwnd:...)");
  *window = FindTopWindow(query);
  return *window ? kOk : Fail(kNotFound, "no window " + args[1]);
}

int ControlArg(const Args& args, HWND* control) {
  HWND top = nullptr;
  if (int rc = TopArg(args, &top)) return rc;
  if (args.size() < 3) return Fail(kFailed, "expected a control");
  *control = FindControl(top, args[2]);
  return *control ? kOk : Fail(kNotFound, "no control " + args[2] + " in " + args[1]);
}

int Wait(const Args& args, bool present) {
  WindowQuery query;
  if (args.size() < 2 || !ParseWindowQuery(args[1], &query))
    return Fail(kFailed, "expected a window");
  const DWORD start = ::GetTickCount(), timeout = WaitArg(args, 2);
  HWND window;
  while (((window = FindTopWindow(query)) != nullptr) != present) {
    if (::GetTickCount() - start >= timeout)
      return Fail(kNotFound, "timed out waiting for " + args[1]);
    ::Sleep(50);
  }
  char handle[32];
  std::snprintf(handle, sizeof(handle), "hwnd:0x%llx",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  if (present) Print(handle);
  return kOk;
}

int List(const Args& args) {
  HWND top = nullptr;
  if (int rc = TopArg(args, &top)) return rc;
  for (const ControlInfo& c : ListControls(top)) {
    std::string line = "id=" + std::to_string(c.id) + " class=" + Narrow(c.class_name) +
                       " visible=" + (c.visible ? "1" : "0") +
                       " enabled=" + (::IsWindowEnabled(c.handle) ? "1" : "0") + " text=";
    for (char ch : Narrow(c.text))
      line += ch == '\n' ? std::string("\\n") : std::string(ch == '\r' ? 0 : 1, ch);
    Print(line);
  }
  return kOk;
}

UINT KeyCode(const std::string& name) {
  if (name == "enter") return VK_RETURN;
  if (name == "escape") return VK_ESCAPE;
  if (name == "tab") return VK_TAB;
  if (name == "space") return VK_SPACE;
  return static_cast<UINT>(std::strtoul(name.c_str(), nullptr, 0));
}

int Key(const Args& args) {
  HWND top = nullptr;
  if (int rc = TopArg(args, &top)) return rc;
  UINT vk = args.size() > 2 ? KeyCode(args[2]) : 0;
  if (vk == 0 || vk > 0xFE) return Fail(kFailed, "expected a key");
  // Dialog loops only treat Enter and Escape as such when the key reaches
  // them through a control of the dialog, so aim at the thread's focus.
  HWND target = top;
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (::GetGUIThreadInfo(::GetWindowThreadProcessId(top, nullptr), &info) && info.hwndFocus &&
      (info.hwndFocus == top || ::IsChild(top, info.hwndFocus)))
    target = info.hwndFocus;
  LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
  bool ok = ::PostMessageW(target, WM_KEYDOWN, vk, scan | 1) &&
            ::PostMessageW(target, WM_KEYUP, vk, scan | 1 | (3u << 30));
  return ok ? kOk : Fail(kFailed, "cannot post the key");
}

int Hover(const Args& args) {
  HWND control = nullptr;
  if (int rc = ControlArg(args, &control)) return rc;
  RECT rect{};
  ::GetWindowRect(control, &rect);
  bool ok = ::SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  return ok ? kOk : Fail(kFailed, "cannot move the pointer");
}

int Answer(const Args& args) {
  if (args.size() < 3) return Fail(kFailed, "expected TEXT and BUTTON");
  const std::string& name = args[2];
  int id = name == "yes"      ? IDYES
           : name == "no"     ? IDNO
           : name == "ok"     ? IDOK
           : name == "cancel" ? IDCANCEL
                              : 0;
  if (id == 0) return Fail(kFailed, "button must be yes, no, ok or cancel");
  const std::wstring text = Widen(args[1]);
  const DWORD start = ::GetTickCount(), timeout = WaitArg(args, 3);
  HWND box = nullptr;
  while (!(box = FindMessageBox(text))) {
    if (::GetTickCount() - start >= timeout) return Fail(kNotFound, "no message box " + args[1]);
    ::Sleep(50);
  }
  HWND button = ::GetDlgItem(box, id);
  if (!button) return Fail(kNotFound, "the message box has no " + name + " button");
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return kOk;
}

// Posts `message` to the window args[1] (or to the control args[2]).
int Post(const Args& args, UINT message, bool control) {
  HWND target = nullptr;
  if (int rc = control ? ControlArg(args, &target) : TopArg(args, &target)) return rc;
  return ::PostMessageW(target, message, 0, 0) ? kOk : Fail(kFailed, "cannot post to " + args[1]);
}

int Shot(const Args& args) {
  HWND top = nullptr;
  if (int rc = TopArg(args, &top)) return rc;
  if (args.size() < 3) return Fail(kFailed, "expected a file name");
  std::string error;
  return SaveWindowPicture(top, Widen(args[2]), &error) ? kOk : Fail(kFailed, error);
}

int Run(const Args& args) {
  if (args.empty()) return Fail(kFailed, "no command");
  const std::string& c = args[0];
  if (c == "wait") return Wait(args, true);
  if (c == "gone") return Wait(args, false);
  if (c == "list") return List(args);
  // BM_CLICK presses the button as a mouse click would; posted, so a modal
  // loop it opens does not block the probe.
  if (c == "click") return Post(args, BM_CLICK, true);
  if (c == "key") return Key(args);
  if (c == "hover") return Hover(args);
  if (c == "close") return Post(args, WM_CLOSE, false);
  if (c == "answer") return Answer(args);
  if (c == "shot") return Shot(args);
  if (c == "sleep") {
    ::Sleep(WaitArg(args, 1));
    return kOk;
  }
  return Fail(kFailed, "unknown command " + c);
}

Args SplitLine(const std::string& line) {
  Args words;
  std::string word;
  bool quoted = false, any = false;
  for (char ch : line) {
    if (ch == '"') {
      quoted = !quoted;
      any = true;
    } else if (!quoted && (ch == ' ' || ch == '\t' || ch == '\r')) {
      if (any) words.push_back(word);
      word.clear();
      any = false;
    } else {
      word += ch;
      any = true;
    }
  }
  if (any) words.push_back(word);
  return words;
}

int RunScript() {
  std::string line;
  while (std::getline(std::cin, line)) {
    Args words = SplitLine(line);
    if (words.empty() || words[0][0] == '#') continue;
    if (int rc = Run(words)) return rc;
  }
  return kOk;
}

}  // namespace
}  // namespace ld::probe

int main() {
  // The arguments as UTF-16 from the system, whatever the ANSI code page.
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  ld::probe::Args args;
  for (int i = 1; argv && i < argc; ++i) args.push_back(ld::probe::Narrow(argv[i]));
  ::LocalFree(argv);
  if (args.size() == 1 && args[0] == "-") return ld::probe::RunScript();
  return ld::probe::Run(args);
}
