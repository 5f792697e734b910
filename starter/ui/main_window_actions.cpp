// What the installation window's buttons and keys do: the folder browse, the
// start of the installation with its path checks, cancel and the close
// question.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "core/base/ascii.h"
#include "core/ui/install_path_check.h"
#include "starter/report/box_presenter.h"
#include "starter/platform/folders.h"
#include "starter/resources/ui_resource_ids.h"
#include "starter/app/starter_app.h"
#include "starter/platform/string_table.h"
#include "starter/ui/main_window.h"

namespace ld {
namespace {

// The real file system for the install path check.
class SystemPathFacts : public PathFacts {
 public:
  bool DriveExists(const std::string& drive) override {
    const std::string root = drive + "\\";
    const UINT type = ::GetDriveTypeA(root.c_str());
    return type != DRIVE_UNKNOWN && type != DRIVE_NO_ROOT_DIR;
  }
  Kind KindOf(const std::string& path) override {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Kind::kMissing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::kFolder : Kind::kFile;
  }
  bool MakeFolder(const std::string& path) override {
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
  }
  void RemoveFolder(const std::string& path) override { ::RemoveDirectoryA(path.c_str()); }
};

int Box(HWND owner, const std::string& text, UINT style) {
  return CurrentBoxPresenter().Show(owner, text, LoadText(IDS_CAPTION), style);
}

// Selects the starting folder when the browser opens and shows the selected
// path as the status text.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM item, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    const char* start = reinterpret_cast<const char*>(data);
    const DWORD attributes = ::GetFileAttributesA(start);
    const bool folder =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE,
                   reinterpret_cast<LPARAM>(folder ? start : "C:\\"));
  } else if (message == BFFM_SELCHANGED) {
    char path[MAX_PATH] = {};
    if (::SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), path)) {
      ::SendMessageA(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
    }
  }
  return 0;
}

}  // namespace

std::string cMainWindow::PathFromEdit(int limit) const {
  cWindow* edit = controls_.Find("EDT_PATH");
  return edit != nullptr ? edit->Text(limit + 1) : std::string();
}

void cMainWindow::OnCommand(HWND control, int, int code) {
  std::string name;
  if (controls_.FindByWindow(control, &name) == nullptr) return;
  // Only clicks count: an owner-drawn button also reports double clicks,
  // which must not ask the close question twice.
  if (code != BN_CLICKED) return;
  if (name == "BTN_SELECT_DIR") {
    BrowseFolder();
  } else if (name == "BTN_STARTINSTALL") {
    StartInstall();
  } else if (name == "CHK_LUDORIAFLASHINST") {
    ToggleShortcutCheck();
  } else if (name == "BTN_MINIMIZE") {
    ::ShowWindow(hwnd(), SW_MINIMIZE);
  } else if (name == "BTN_CLOSE" || name == "BTN_CANCEL") {
    Cancel("CANCEL (onCancelBtnClicked)");
  }
}

void cMainWindow::ToggleShortcutCheck() {
  cWindow* check = controls_.Find("CHK_LUDORIAFLASHINST");
  if (check == nullptr || check->hwnd() == nullptr) return;
  const bool checked = ::SendMessageA(check->hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  ::SendMessageA(check->hwnd(), BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
  cStarterApp::Get().install_folder_settings().create_desktop_shortcut = checked ? 0 : 1;
}

void cMainWindow::UncheckShortcut() {
  cWindow* check = controls_.Find("CHK_LUDORIAFLASHINST");
  if (check != nullptr && check->hwnd() != nullptr) {
    ::SendMessageA(check->hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
  }
  cStarterApp::Get().install_folder_settings().create_desktop_shortcut = 0;
}

void cMainWindow::OnAccelerator(int id) {
  switch (id) {
    case ID_ACCEL_NO_SHORTCUT:
      UncheckShortcut();
      break;
    case ID_ACCEL_START: {
      if (page_ != kPageInstallFolder) break;
      cWindow* start = controls_.Find("BTN_STARTINSTALL");
      if (start == nullptr || start->hwnd() == nullptr) break;
      // A click of the button, as if the user had pressed it.
      ::PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(start->hwnd()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(start->hwnd()));
      break;
    }
    case ID_ACCEL_CANCEL:
      Cancel("CANCEL (ID_ACCEL_CANCEL)");
      break;
    default:
      break;
  }
}

void cMainWindow::Cancel(const char* log_text) {
  std::string game = cStarterApp::Get().report_ids().game_id;
  if (game.size() > 19) game.resize(19);
  if (AsciiLowered(game) == "trioka" && env_.report_cancel) env_.report_cancel(log_text);
  ::PostMessageA(hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

LRESULT cMainWindow::OnSysCommand(WPARAM command, int, int) {
  if ((command & 0xFFF0) != SC_CLOSE) return kDefaultProcessing;
  if (env_.driver_finished && env_.driver_finished()) return kDefaultProcessing;
  if (env_.hold_driver) env_.hold_driver(true);
  const int answer = Box(hwnd(), LoadText(IDS_ASK_STOP_INSTALLATION), MB_YESNO | MB_ICONQUESTION);
  // The stop flag goes up before the driver may go on, so its next check
  // sees the answer.
  if (answer == IDYES && env_.stop) env_.stop();
  if (env_.hold_driver) env_.hold_driver(false);
  return answer == IDYES ? kDefaultProcessing : 0;
}

void cMainWindow::StartInstall() {
  if (controls_.Find("EDT_PATH") == nullptr) {
    if (env_.stop) env_.stop();
    return;
  }
  if (start_accepted_) return;
  const std::string path = TrimTrailingBackslashes(PathFromEdit(260));
  if (env_.refuse_system_folders && env_.refuse_system_folders() &&
      IsUnderSystemFolder(path, env_.windows_folder, env_.program_files_folder)) {
    Box(hwnd(), LoadText(IDS_NO_SYSTEM_FOLDER), MB_ICONINFORMATION);
    return;
  }
  SystemPathFacts facts;
  if (!CheckInstallPath(path, facts)) {
    Box(hwnd(), LoadText(IDS_INVALID_PATH) + "\n" + path + "\n" + LoadText(IDS_INPUT_VALID_PATH),
        MB_ICONINFORMATION);
    return;
  }
  cStarterApp::Get().install_folder_settings().SetInstallRoot(path);
  start_accepted_ = true;
  if (env_.wake) env_.wake();
}

void cMainWindow::BrowseFolder() {
  // The typed folder and its missing parents are made so the browser can
  // open there, by the install-path check's rules: the path is the user's,
  // so a file in its way stays, and a refused path leaves no folders behind.
  std::string start = PathFromEdit(259);
  if (!start.empty() && !FileExists(start)) {
    SystemPathFacts facts;
    CheckInstallPath(TrimTrailingBackslashes(start), facts);
  }

  std::string product = cStarterApp::Get().launch_record().game_title;
  if (product.empty()) product = LoadText(IDS_PRODUCT_NAME);
  const std::string format = LoadText(IDS_SELECT_FOLDER);
  // The prompt is the program's own string with one %s.
  std::string prompt = format;
  const std::size_t at = prompt.find("%s");
  if (at != std::string::npos) prompt.replace(at, 2, product);

  LPITEMIDLIST drives = nullptr;
  ::SHGetSpecialFolderLocation(hwnd(), CSIDL_DRIVES, &drives);
  char display[MAX_PATH] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = hwnd();
  info.pidlRoot = drives;
  info.pszDisplayName = display;
  info.lpszTitle = prompt.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  if (cStarterApp::Get().runtime_libraries().shell >= 0x50000) info.ulFlags |= BIF_NEWDIALOGSTYLE;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info);
  if (drives != nullptr) ::CoTaskMemFree(drives);
  if (chosen == nullptr) return;
  char path[MAX_PATH] = {};
  if (::SHGetPathFromIDListA(chosen, path)) {
    if (cWindow* edit = controls_.Find("EDT_PATH")) edit->SetText(path);
  } else {
    Box(hwnd(), LoadText(IDS_INVALID_PATH), MB_ICONINFORMATION);
  }
  ::CoTaskMemFree(chosen);
}

}  // namespace ld
