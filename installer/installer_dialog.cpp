#include "installer/installer_dialog.h"

#include <cstdio>

#include "installer/resources/resource_ids.h"

namespace ld::installer {
namespace {

constexpr COLORREF kButtonTransparent = RGB(0, 0, 255);
// How long a closing dialog waits for a cancelled worker to delete what it
// was writing; a worker still inside the version download by then has
// written nothing and simply ends with the process.
constexpr DWORD kWorkerStopWaitMs = 5000;

}  // namespace

CLdStarterInstallerDlg::CLdStarterInstallerDlg(HINSTANCE instance) : instance_(instance) {}

CLdStarterInstallerDlg::~CLdStarterInstallerDlg() {
  if (icon_) ::DestroyIcon(icon_);
  if (small_icon_) ::DestroyIcon(small_icon_);
}

INT_PTR CLdStarterInstallerDlg::DoModal() {
  return ::DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_INSTALLER), nullptr, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

std::string CLdStarterInstallerDlg::Text(UINT id) const {
  char text[512] = {};
  int n = ::LoadStringA(instance_, id, text, sizeof(text));
  return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

INT_PTR CALLBACK CLdStarterInstallerDlg::DialogProc(HWND dialog, UINT message, WPARAM wparam,
                                                    LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CLdStarterInstallerDlg*>(lparam);
    ::SetWindowLongPtrA(dialog, DWLP_USER, lparam);
    self->dialog_ = dialog;
    return self->OnInitDialog() ? TRUE : FALSE;
  }
  auto* self = reinterpret_cast<CLdStarterInstallerDlg*>(::GetWindowLongPtrA(dialog, DWLP_USER));
  return self ? self->Handle(message, wparam, lparam) : FALSE;
}

INT_PTR CLdStarterInstallerDlg::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return TRUE;
    case WM_PRINTCLIENT:
      // Pictures of the window (PrintWindow) show what the paint shows.
      DrawPicture(reinterpret_cast<HDC>(wparam));
      return TRUE;
    case WM_ERASEBKGND:
      // The paint covers every pixel; erasing first would only flicker.
      ::SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(small_icon_ ? small_icon_ : icon_);
    case WM_NCHITTEST: {
      // The window has no caption: any point of it drags it.
      LRESULT hit = ::DefWindowProcA(dialog_, message, wparam, lparam);
      ::SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, hit == HTCLIENT ? HTCAPTION : hit);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      for (CPyxButton* button : {&install_, &cancel_, &close_})
        if (button->hwnd() == item.hwndItem) button->DrawItem(item);
      return TRUE;
    }
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) OnCommand(LOWORD(wparam));
      return TRUE;
    case kMsgWorkerDone:
      ShowFinalButtons();
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default:
      return FALSE;
  }
}

bool CLdStarterInstallerDlg::OnInitDialog() {
  icon_ = static_cast<HICON>(::LoadImageA(instance_, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                          ::GetSystemMetrics(SM_CXICON),
                                          ::GetSystemMetrics(SM_CYICON), 0));
  small_icon_ = static_cast<HICON>(::LoadImageA(instance_, MAKEINTRESOURCEA(IDR_MAINFRAME),
                                                IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                ::GetSystemMetrics(SM_CYSMICON), 0));
  ::SendMessageA(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  ::SendMessageA(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_));
  ::SetWindowPos(dialog_, nullptr, 0, 0, kDialogWidth, kDialogHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowTextA(dialog_, Text(IDS_TITLE).c_str());
  context_.state = kStateReady;
  context_.percent = 0;
  context_.result = kResultInstalled;
  context_.error = 0;

  if (!BuildLook()) {
    std::string text = Text(IDS_INIT_FAILED);
    ::MessageBoxA(dialog_, text.c_str(), Text(IDS_TITLE).c_str(), MB_OK | MB_ICONERROR);
    ::EndDialog(dialog_, IDABORT);
    return FALSE;
  }
  PublishStateText();
  return TRUE;
}

bool CLdStarterInstallerDlg::BuildLook() {
  background_.Reset(static_cast<HBITMAP>(::LoadImageA(instance_, MAKEINTRESOURCEA(IDB_BACKGROUND),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  font_.Reset(::CreateFontA(12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, Text(IDS_FONT_FACE).c_str()));
  if (!background_ || !font_) return false;

  struct Placement {
    CPyxButton* button;
    int id;
    int x;
    int strip;
    UINT caption;
  };
  const Placement placements[] = {
      {&install_, IDC_BUTTON_INSTALL, 129, IDB_BUTTON_INSTALL, IDS_BUTTON_INSTALL},
      {&cancel_, IDC_BUTTON_CANCEL, 208, IDB_BUTTON_CANCEL, IDS_BUTTON_CANCEL},
      {&close_, IDC_BUTTON_CLOSE, 168, IDB_BUTTON_CLOSE, IDS_BUTTON_CLOSE},
  };
  for (const Placement& p : placements) {
    HWND button = ::GetDlgItem(dialog_, p.id);
    if (!button) return false;
    // The caption is never drawn; it names the button for tool-tips and
    // accessibility tools.
    ::SetWindowTextA(button, Text(p.caption).c_str());
    ::SetWindowPos(button, nullptr, p.x, 214, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!p.button->Attach(dialog_, p.id, background_.get()) ||
        !p.button->SetStrip(instance_, p.strip, kButtonTransparent))
      return false;
  }
  ::ShowWindow(close_.hwnd(), SW_HIDE);
  return true;
}

void CLdStarterInstallerDlg::OnCommand(int id) {
  switch (id) {
    case IDC_BUTTON_INSTALL:
      StartInstallation();
      break;
    case IDC_BUTTON_CANCEL:
    case IDC_BUTTON_CLOSE:
    case IDCANCEL:
      CloseRequest();
      break;
    default:  // Enter (IDOK) must not close the dialog.
      break;
  }
}

void CLdStarterInstallerDlg::StartInstallation() {
  // Keyboard presses reach a button whatever its look; one run per dialog.
  if (install_.disabled() || context_.state != kStateReady) return;
  install_.SetDisabled(true);
  context_.dialog = dialog_;
  context_.hosts = ReadDownloadHosts();
  DWORD thread_id = 0;
  HANDLE thread =
      ::CreateThread(nullptr, 0, InstallWorker, &context_, CREATE_SUSPENDED, &thread_id);
  if (!thread) {
    context_.state = kStateFailed;
    context_.result = kResultNoThread;
    context_.error = static_cast<long>(::GetLastError());
    ShowFinalButtons();
  } else {
    context_.state = kStateInstalling;
    worker_.Reset(thread);
    ::ResumeThread(thread);
  }
  PublishStateText();
  ::InvalidateRect(dialog_, nullptr, FALSE);
}

void CLdStarterInstallerDlg::CloseRequest() {
  if (context_.state == kStateInstalling && worker_) {
    context_.gate.Hold();
    std::string question = Text(IDS_ASK_STOP);
    int answer = ::MessageBoxA(dialog_, question.c_str(), Text(IDS_TITLE).c_str(),
                               MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) {
      context_.gate.Release();
      return;
    }
    context_.gate.Cancel();
    ::WaitForSingleObject(worker_.get(), kWorkerStopWaitMs);
  }
  ::EndDialog(dialog_, IDCANCEL);
}

void CLdStarterInstallerDlg::ShowFinalButtons() {
  ::ShowWindow(install_.hwnd(), SW_HIDE);
  ::ShowWindow(cancel_.hwnd(), SW_HIDE);
  close_.SetDisabled(false);
  ::ShowWindow(close_.hwnd(), SW_SHOW);
  PublishStateText();
  ::InvalidateRect(dialog_, nullptr, FALSE);
}

void CLdStarterInstallerDlg::OnDestroy() {
  if (worker_) {
    // A finished worker may still be in its last pause before the final
    // repaint; it reads the context, which dies with this object. A cancelled
    // one was waited for by the close request already.
    if (context_.state != kStateInstalling) ::WaitForSingleObject(worker_.get(), kWorkerStopWaitMs);
    worker_.Reset();
  }
  background_.Reset();
  font_.Reset();
}

std::string CLdStarterInstallerDlg::StateText() const {
  char line[512];
  switch (context_.state) {
    case kStateReady:
      return Text(IDS_READY);
    case kStateInstalling:
      return Text(IDS_INSTALLING);
    case kStateDone:
      return Text(IDS_DONE);
    case kStateOutdated:
      return Text(IDS_OUTDATED);
    default:
      break;
  }
  long result = context_.result, error = context_.error;
  if (result == kResultCannotDelete) {
    std::snprintf(line, sizeof(line), "%s [%ld_%ld]\r\n%s", Text(IDS_CANNOT_DELETE).c_str(), result,
                  error, Text(IDS_CHECK_NOT_RUNNING).c_str());
  } else {
    std::snprintf(line, sizeof(line), "%s[%ld_%ld]\r\n%s", Text(IDS_FAILED).c_str(), result, error,
                  Text(IDS_RETRY).c_str());
  }
  return line;
}

void CLdStarterInstallerDlg::PublishStateText() {
  ::SetDlgItemTextA(dialog_, IDC_STATE_TEXT, StateText().c_str());
}

}  // namespace ld::installer
