// cMainWindow: the installation window. It switches between four pages the
// installation driver asks for (install folder, download, message, run),
// carries the two web panels and the countdown that holds the game start, and
// shows the download progress as the progress sink of the meters.
//
// Threads: the window and every handler run on the main thread. The driver
// thread reaches it only through the UI send operation (ui_send.h) with
// UWM_DRIVER_UI and through the Driver* operations below, which send their
// own private messages. Progress sink calls (any thread) never wait for the
// window: they leave the latest value per control and post one message
// (main_window_progress.cpp); the window shows those values before it handles
// any driver message, so a driver's send still sees every earlier change.
// The only state shared with the driver is the wake event and the stop flag
// (through MainWindowEnv).
//
// Ownership: the start-up owns the one program-wide object; the window owns
// its controls, panels, fonts, pens, brushes and bitmaps, and the driver
// thread's handle once given.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/ui/countdown.h"
#include "starter/download/progress_sink.h"
#include "starter/ui/c_window.h"
#include "starter/ui/control_set.h"
#include "starter/ui/gdi_objects.h"
#include "starter/ui/main_window_env.h"
#include "starter/ui/ui_messages.h"
#include "starter/ui/web_control.h"
#include "starter/platform/win_handle.h"

namespace ld {

// Class and style of the installation window.
inline constexpr char kMainWindowClass[] = "LDSTART";
inline constexpr DWORD kMainWindowStyle = 0x02CA0000;  // caption, system menu, minimise, clip
inline constexpr int kMainIconId = 32773;

// Layout kinds and their sizes.
enum Layout : int { kLayoutNone = -1, kLayoutSmall = 0, kLayoutLarge = 3 };
inline constexpr SIZE kLargeSize = {780, 380};
inline constexpr SIZE kSmallSize = {247, 86};

class cMainWindow : public cWindow, public ProgressSink {
 public:
  explicit cMainWindow(MainWindowEnv env);
  ~cMainWindow() override;

  // Registers "LDSTART" (once) and makes the window, hidden, 400 x 150 at the
  // default place, titled `title`; installs the window as the progress sink.
  // False when no window was made.
  bool CreateInstallationWindow(const char* title);

  // --- Main thread ---
  void BuildPage(int page);
  // UWM_DRIVER_UI; the answer of command 4 is 1 when both panels loaded.
  LRESULT OnDriverUi(std::uint16_t command, std::uint16_t argument);
  // Milliseconds the countdown still holds the game start (may be negative).
  std::int64_t CountdownLeft();
  // Web panel check; true when both panels have loaded.
  bool CheckPanels();
  void StartInstall();
  void Cancel(const char* log_text);
  void BrowseFolder();
  // The driver thread, suspended while the close question is up.
  void SetDriverThread(KernelHandle thread) { driver_thread_ = std::move(thread); }

  int page() const { return page_; }
  int layout() const { return layout_; }
  const Countdown& countdown() const { return countdown_; }
  bool waiting() const { return waiting_; }
  ControlSet& controls() { return controls_; }
  CMWebControl* advertisement_panel() const { return advert_.get(); }
  CMWebControl* rating_panel() const { return rating_.get(); }
  HFONT text_font() const { return text_font_.handle(); }

  // --- Driver thread (each waits for the main thread) ---
  // Starts timer 502, the web panel check every 700 ms.
  void DriverStartPanelTimer();
  std::int64_t DriverCountdownLeft();
  // The run waits for the countdown: the wait-for-user operation with
  // countdown, then the countdown is finished and its display emptied.
  void DriverWaitForCountdown(cStarterApp& app);

  // ProgressSink (any thread; posted to the main thread, never waits).
  void SetBarRange(const char* bar, uint32_t maximum) override;
  void SetBarPosition(const char* bar, uint32_t position) override;
  void SetText(const char* control, const std::string& text) override;
  using cWindow::SetText;

  // cWindow.
  int OnCreate(CREATESTRUCTA* data) override;
  void OnCommand(HWND control, int id, int code) override;
  bool OnEraseBackground(HDC dc) override;
  LRESULT OnHitTest(int x, int y) override;
  void OnAccelerator(int id) override;
  LRESULT OnSysCommand(WPARAM command, int x, int y) override;
  void OnTimer(UINT_PTR id) override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  // Pages (main_window_pages.cpp).
  void BuildInstallFolderPage();
  void BuildDownloadPage();
  void BuildMessagePage();
  void BuildRunPage();
  void BuildFrameControls();
  void MakeWebPanels();
  void SwitchFileProgress(bool two_bars);
  void AddStatic(const char* name, DWORD bits, int id, RECT rect, HFONT font, const char* text);
  void AddImageButton(const char* name, int bitmap_id, int x, int y, int id);
  void AddProgressBar(const char* name, const char* title, int id, RECT rect);
  // Painting (main_window_paint.cpp).
  void PaintLarge(HDC dc);
  void PaintSmall(HDC dc);
  void LoadBitmaps();
  LRESULT ControlColour(HDC dc, HWND control, bool edit);
  // Countdown and panels (main_window_countdown.cpp).
  void StartCountdown();
  bool PanelLoaded(const char* name, CMWebControl* panel);
  // Commands (main_window_actions.cpp).
  void ToggleShortcutCheck();
  void UncheckShortcut();
  std::string PathFromEdit(int limit) const;
  DWORD Now() const;

  MainWindowEnv env_;
  cFont main_font_;
  cFont text_font_;
  cFont bold_font_;
  ControlSet controls_;
  int layout_ = kLayoutNone;
  DWORD stored_style_ = 0;
  int page_ = kPageNone;
  KernelHandle driver_thread_;
  std::unique_ptr<CMWebControl> advert_;
  std::unique_ptr<CMWebControl> rating_;

  Countdown countdown_;
  bool waiting_ = false;
  // Set when a start press passed its checks and woke the driver; a second
  // press before the driver builds its next page would wake it again (the
  // event stays set and cuts the countdown short) and rewrite the folder
  // the driver is reading. Cleared by every page build.
  bool start_accepted_ = false;
  bool advert_shown_ = false;
  bool rating_shown_ = false;
  bool panels_ready_ = false;
  bool first_check_done_ = false;
  DWORD first_check_tick_ = 0;

  GdiObjectHandle frame_pen_, white_pen_, grey_pen_;
  GdiObjectHandle panel_brush_, window_brush_, message_brush_, control_brush_;
  bool bitmaps_loaded_ = false;
  cBitmapHolder logo_, folder_label_, background_, bottom_edge_, top_edge_, right_edge_;
  // Progress waiting for the main thread (main_window_progress.cpp): the
  // latest range, position and text per control, in the order the controls
  // first changed. Guarded by progress_lock_, as is progress_requested_ (a
  // UWM_UI_PROGRESS or the progress timer is outstanding).
  struct PendingProgress {
    std::string control;
    bool has_range = false;
    bool has_position = false;
    bool has_text = false;
    uint32_t range = 0;
    uint32_t position = 0;
    std::string text;
  };
  PendingProgress& PendingFor(const char* control);
  void RequestProgressShow();
  // Main thread: shows what has gathered; false when nothing had. Never
  // waits for the lock the reporting threads take on every change, so the
  // window's thread and its boxes stay free whatever those threads do. A
  // busy lock counts as something to show, so the progress timer comes back
  // for it.
  bool ShowPendingProgress();
  void OnProgressMessage();
  void OnProgressTimer();
  std::mutex progress_lock_;
  std::vector<PendingProgress> pending_progress_;
  bool progress_requested_ = false;
  ProgressSink* previous_sink_ = nullptr;
  bool sink_installed_ = false;

  friend struct MainWindowLockProbe;  // tests hold progress_lock_ as a driver would
};

}  // namespace ld
