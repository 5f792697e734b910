// The four pages of the installation window and the controls every large
// page shares.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "starter/resources/ui_resource_ids.h"
#include "starter/app/starter_app.h"
#include "starter/platform/string_table.h"
#include "starter/ui/controls.h"
#include "starter/ui/main_window.h"

namespace ld {
namespace {

// Control identifiers.
constexpr int kIdPath = 4117;
constexpr int kIdSelectDir = 4118;
constexpr int kIdShortcutCheck = 4120;
constexpr int kIdStartInstall = 4122;
constexpr int kIdMinimize = 4163;
constexpr int kIdClose = 4164;
constexpr int kIdAdvertisement = 4165;
constexpr int kIdRating = 4166;
constexpr int kIdFileBar = 4115;
constexpr int kIdFixMessage = 4167;

constexpr RECT kAdvertisementRect = {11, 33, 11 + 404, 33 + 337};
constexpr RECT kRatingRect = {423, 33, 423 + 347, 33 + 151};
// The part of a large page that changes between pages.
constexpr RECT kPanelArea = {418, 186, 780, 380};

}  // namespace

void cMainWindow::AddStatic(const char* name, DWORD bits, int id, RECT rect, HFONT font,
                            const char* text) {
  controls_.Add(name) = MakeStatic(bits, id, rect, this, text, font);
}

void cMainWindow::AddImageButton(const char* name, int bitmap_id, int x, int y, int id) {
  controls_.Add(name) = MakeImageButton(bitmap_id, x, y, id, this);
}

void cMainWindow::AddProgressBar(const char* name, const char* title, int id, RECT rect) {
  controls_.Add(name) = MakeProgressBar(title, PBS_SMOOTH, id, rect, this);
}

void cMainWindow::BuildPage(int page) {
  controls_.DestroyAll();
  const int previous_layout = layout_;
  layout_ = kLayoutNone;
  stored_style_ = 0;
  page_ = page;
  start_accepted_ = false;

  switch (page) {
    case kPageInstallFolder:
      BuildInstallFolderPage();
      break;
    case kPageDownload:
      BuildDownloadPage();
      break;
    case kPageMessage:
      BuildMessagePage();
      break;
    case kPageRun:
      BuildRunPage();
      break;
    default:
      return;
  }
  if (page != kPageMessage) countdown_.Arm();

  if (layout_ != previous_layout) {
    const SIZE size = layout_ == kLayoutLarge ? kLargeSize : kSmallSize;
    ::SetWindowLongPtrA(hwnd(), GWL_STYLE, static_cast<LONG_PTR>(stored_style_));
    ::SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    CentreOnScreen(size.cx, size.cy);
    controls_.ShowAll();
    ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetForegroundWindow(hwnd());
    ::SetFocus(hwnd());
  } else {
    controls_.ShowAll();
    if (layout_ == kLayoutLarge) ::InvalidateRect(hwnd(), &kPanelArea, TRUE);
  }
}

void cMainWindow::BuildFrameControls() {
  AddImageButton("BTN_MINIMIZE", IDB_BTN_MINIMIZE, 727, 7, kIdMinimize);
  AddImageButton("BTN_CLOSE", IDB_BTN_CLOSE, 750, 7, kIdClose);
  MakeWebPanels();
}

void cMainWindow::MakeWebPanels() {
  if (!env_.web_panels) return;
  HINSTANCE instance = ProgramInstance();
  if (!advert_) {
    advert_ = std::make_unique<CMWebControl>();
    const RECT& r = kAdvertisementRect;
    if (advert_->Create("IE_ADVERTISE", WS_CHILD, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        hwnd(), kIdAdvertisement, instance) &&
        env_.panel_address) {
      advert_->Navigate(env_.panel_address(true).c_str());
    }
  }
  if (!rating_) {
    rating_ = std::make_unique<CMWebControl>();
    const RECT& r = kRatingRect;
    if (rating_->Create("IE_GAMERATE", WS_CHILD, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        hwnd(), kIdRating, instance) &&
        env_.panel_address) {
      rating_->Navigate(env_.panel_address(false).c_str());
    }
  }
}

void cMainWindow::BuildInstallFolderPage() {
  cInstallFolderSettings& settings = cStarterApp::Get().install_folder_settings();
  settings.folder_page_shown = true;
  layout_ = kLayoutLarge;
  BuildFrameControls();

  std::string folder;
  const bool editable = settings.folder_missing();
  if (editable) {
    folder = cStarterApp::Get().options().default_install_dir;
    if (folder.size() > 260) folder.resize(260);
    if (folder.empty()) {
      char windows[MAX_PATH] = {};
      ::GetWindowsDirectoryA(windows, MAX_PATH);
      char text[32];
      std::snprintf(text, sizeof text, "%c:\\Ludoria", windows[0] != '\0' ? windows[0] : 'C');
      folder = text;
    }
  } else {
    folder = settings.install_root();
  }
  auto edit = std::make_unique<cWindow>();
  edit->set_owns_window(false);
  if (edit->CreateChild(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, kIdPath, 435, 224,
                        690, 245, this)) {
    ::SendMessageA(edit->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(text_font_.handle()), FALSE);
    edit->SetText(folder.c_str());
    ::EnableWindow(edit->hwnd(), editable ? TRUE : FALSE);
  }
  controls_.Add("EDT_PATH") = std::move(edit);

  AddImageButton("BTN_SELECT_DIR", IDB_BTN_SELECT_DIR, 695, 224, kIdSelectDir);
  auto check = MakeCheckBox(kIdShortcutCheck, RECT{435, 255, 756, 269}, this,
                            LoadText(IDS_CREATE_SHORTCUT).c_str(), text_font_.handle());
  if (check->hwnd() != nullptr) ::SendMessageA(check->hwnd(), BM_SETCHECK, BST_CHECKED, 0);
  settings.create_desktop_shortcut = 1;
  controls_.Add("CHK_LUDORIAFLASHINST") = std::move(check);
  AddImageButton("BTN_STARTINSTALL", IDB_BTN_START_INSTALL, 521, 325, kIdStartInstall);
}

void cMainWindow::BuildDownloadPage() {
  layout_ = kLayoutLarge;
  BuildFrameControls();
  const HFONT font = text_font_.handle();
  AddProgressBar(kFileBar, "FileDownload", 4115, RECT{439, 214, 754, 225});
  AddStatic(kFileNameText, 0, 4116, RECT{439, 228, 595, 241}, font, "");
  AddStatic(kTransferRateText, SS_RIGHT, 4117, RECT{598, 228, 754, 241}, font, "");
  AddProgressBar(kMainBar, "TotalDownload", 4118, RECT{439, 246, 754, 257});
  AddStatic("STC_FIX_MESSAGE", 0, kIdFixMessage, RECT{439, 260, 595, 273}, font, "");
  AddStatic(kTimeLeftText, SS_RIGHT, 4120, RECT{598, 260, 754, 273}, font, "");
  AddImageButton("BTN_CANCEL", IDB_BTN_CANCEL, 521, 310, 4121);
}

void cMainWindow::BuildMessagePage() {
  layout_ = kLayoutSmall;
  AddStatic("MSG1", 0, 4112, RECT{10, 64, 182, 79}, main_font_.handle(), "");
  AddImageButton("BTN_CANCEL", IDB_BTN_CANCEL_SMALL, 187, 60, 4113);
}

void cMainWindow::BuildRunPage() {
  layout_ = kLayoutLarge;
  BuildFrameControls();
  AddStatic("STC_MESSAGE", SS_CENTER, 4115, RECT{439, 232, 754, 245}, bold_font_.handle(),
            LoadText(IDS_PREPARING_TO_RUN).c_str());
  if (cStarterApp::Get().flags().kind_mode) {
    AddStatic("STC_COUNTER", SS_CENTER, 4124, RECT{439, 248, 754, 261}, text_font_.handle(), "");
  }
  AddImageButton("BTN_CANCEL", IDB_BTN_CANCEL, 521, 310, 4116);
}

void cMainWindow::SwitchFileProgress(bool two_bars) {
  if (controls_.Find(kSlotBar0) == nullptr) {
    AddProgressBar(kSlotBar0, "FileDownload", kIdFileBar, RECT{439, 214, 754, 220});
  }
  if (controls_.Find(kSlotBar1) == nullptr) {
    AddProgressBar(kSlotBar1, "FileDownload", kIdFileBar, RECT{439, 219, 754, 225});
  }
  auto show = [this](const char* name, bool visible) {
    cWindow* bar = controls_.Find(name);
    if (bar != nullptr && bar->hwnd() != nullptr) {
      ::ShowWindow(bar->hwnd(), visible ? SW_SHOW : SW_HIDE);
    }
  };
  show(kFileBar, !two_bars);
  show(kSlotBar0, two_bars);
  show(kSlotBar1, two_bars);
}

}  // namespace ld
