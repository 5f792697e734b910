// The installer's one window: a modal dialog (resource 102) with the
// background picture, the state text, the progress bar and three image
// buttons. Everything here runs on the dialog thread; the installation runs
// on the worker (install_worker.h), which the dialog starts, may hold at the
// close question, and waits for before the dialog's objects go away.
#pragma once

#include <windows.h>

#include <string>

#include "installer/install_worker.h"
#include "installer/pyx_button.h"
#include "installer/win_handles.h"

namespace ld::installer {

constexpr int kDialogWidth = 407;
constexpr int kDialogHeight = 282;

class CLdStarterInstallerDlg {
 public:
  explicit CLdStarterInstallerDlg(HINSTANCE instance);
  ~CLdStarterInstallerDlg();
  CLdStarterInstallerDlg(const CLdStarterInstallerDlg&) = delete;
  CLdStarterInstallerDlg& operator=(const CLdStarterInstallerDlg&) = delete;

  // Shows the dialog and returns when it has closed.
  INT_PTR DoModal();

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR Handle(UINT message, WPARAM wparam, LPARAM lparam);

  bool OnInitDialog();
  bool BuildLook();
  void OnCommand(int id);
  void StartInstallation();
  void CloseRequest();
  void ShowFinalButtons();
  void OnDestroy();

  // The text of the current state; lines separated by "\r\n".
  std::string StateText() const;
  // Keeps the hidden state control in step with the painted text.
  void PublishStateText();

  // installer_dialog_paint.cpp
  void OnPaint();
  void DrawPicture(HDC target);

  std::string Text(UINT id) const;

  HINSTANCE instance_;
  HWND dialog_ = nullptr;
  CPyxButton install_;
  CPyxButton cancel_;
  CPyxButton close_;
  BitmapHandle background_;
  FontHandle font_;
  HICON icon_ = nullptr;
  HICON small_icon_ = nullptr;
  KernelHandle worker_;
  WorkerContext context_;
};

}  // namespace ld::installer
