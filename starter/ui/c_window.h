// The starter's window framework: one cWindow object bound to one window,
// window messages turned into virtual calls, class registration, creation
// with size adjustment, and the framework's plain message box.
//
// Threads: everything here runs on the thread that owns the windows (the
// starter's main thread). Other threads reach a window only through the UI
// send operation (starter/ui/ui_send.h).
//
// Ownership: a cWindow exists before its window and outlives it; destroying
// the window leaves the object (its handle becomes null). Deleting an object
// whose window still exists detaches it first, and destroys that window when
// the object owns it (objects made directly do; controls made by the
// factories in controls.h belong to their parent's control set instead).
#pragma once

#include <windows.h>

#include <string>

namespace ld {

// The value a message handler returns to leave the message to default
// processing.
inline constexpr LRESULT kDefaultProcessing = -2;

class cWindow {
 public:
  cWindow() = default;
  virtual ~cWindow();
  cWindow(const cWindow&) = delete;
  cWindow& operator=(const cWindow&) = delete;

  // --- Virtual operations, in the order the framework has always had them.
  virtual void Enable(bool enable);
  // WM_CREATE; -1 makes the creation fail.
  virtual int OnCreate(CREATESTRUCTA* data);
  // WM_COMMAND from a control (or a posted command naming one).
  virtual void OnCommand(HWND control, int id, int code);
  // WM_ERASEBKGND; false leaves the erase to the system.
  virtual bool OnEraseBackground(HDC dc);
  // WM_COMMAND with identifier 0 and code 0; always passed 0.
  virtual void OnCommandZero(int zero);
  virtual LRESULT OnHitTest(int x, int y);
  // WM_COMMAND with code 1 (accelerator keys).
  virtual void OnAccelerator(int id);
  virtual LRESULT OnSysCommand(WPARAM command, int x, int y);
  virtual void OnTimer(UINT_PTR id);
  // WM_DRAWITEM of this control, forwarded by its parent.
  virtual void OnDrawItem(DRAWITEMSTRUCT* item);
  // Every message. kDefaultProcessing hands it on: to the default window
  // procedure for framework classes, to the control's own procedure for a
  // standard control (there any non-zero result hands it on).
  virtual LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam);

  // Creates the window and binds it to this object before WM_CREATE reaches
  // it. With `adjust_size`, width and height are client sizes grown by the
  // frame the style gives. False (and no handle) when no window was made.
  bool Create(DWORD ex_style, const char* class_name, const char* title, DWORD style,
              HMENU menu_or_id, int x, int y, int width, int height, HWND parent, bool adjust_size);
  // A child of `parent` covering (left, top, right, bottom), no adjustment.
  bool CreateChild(DWORD ex_style, const char* class_name, const char* title, DWORD style, int id,
                   int left, int top, int right, int bottom, cWindow* parent);

  // Moves and sizes the window to the middle of the primary screen without
  // changing the z-order or activating it.
  void CentreOnScreen(int width, int height);

  int GetText(char* buffer, int size) const;
  std::string Text(int size = 260) const;
  void SetText(const char* text);

  HWND hwnd() const { return hwnd_; }
  bool owns_window() const { return owns_window_; }
  void set_owns_window(bool owns) { owns_window_ = owns; }

  // The object bound to `window`, or null for windows of other code.
  static cWindow* FromHandle(HWND window);

 private:
  friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK CreationHook(int, WPARAM, LPARAM);

  HWND hwnd_ = nullptr;
  bool owns_window_ = true;
  // The standard control's own procedure when this object subclassed it.
  WNDPROC previous_proc_ = nullptr;
};

// The one procedure of the framework's classes and of subclassed controls.
LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Program instance whose resources the framework loads (icons, bitmaps).
// Set once at start-up; the module of the running program until then.
void SetProgramInstance(HINSTANCE instance);
HINSTANCE ProgramInstance();

// The program's main window: its title is the caption of FrameworkMessageBox.
void SetMainWindow(cWindow* window);
cWindow* MainWindow();

// Registers a framework class: 4 extra window bytes, the system window colour
// as background, icons from the program's resources (0: the system
// application icon) and the named system cursor (null: the arrow). Zero when
// the class could not be registered (an already registered name included).
ATOM RegisterWindowClass(const char* class_name, int icon_id, int small_icon_id,
                         const char* cursor);

// Class the framework gives windows made without one of their own;
// registered once per process by the first caller.
inline constexpr char kDefaultClassName[] = "DEFAULTCLASS";
void EnsureDefaultClass();

// The framework's plain message box: no owner, no style flags; without a
// caption the main window's title (at most 259 characters) is used. Goes
// through the box presenter (starter/box_presenter.h).
int FrameworkMessageBox(const char* text, const char* caption = nullptr);

}  // namespace ld
