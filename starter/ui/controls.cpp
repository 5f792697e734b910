#include "starter/ui/controls.h"

#include <commctrl.h>

#include "core/ui/image_button_state.h"

namespace ld {
namespace {

void EnsureCommonControls() {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&init);
}

std::unique_ptr<cWindow> NewControl() {
  auto control = std::make_unique<cWindow>();
  control->set_owns_window(false);
  return control;
}

}  // namespace

std::unique_ptr<cWindow> MakeStatic(DWORD style_bits, int id, const RECT& rect, cWindow* parent,
                                    const char* text, HFONT font) {
  auto control = NewControl();
  if (control->CreateChild(0, "STATIC", "", WS_CHILD | SS_CENTERIMAGE | style_bits, id, rect.left,
                           rect.top, rect.right, rect.bottom, parent)) {
    control->SetText(text);
    ::SendMessageA(control->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  return control;
}

std::unique_ptr<cWindow> MakeCheckBox(int id, const RECT& rect, cWindow* parent, const char* text,
                                      HFONT font) {
  auto control = NewControl();
  if (control->CreateChild(0, "BUTTON", "", WS_CHILD | BS_FLAT | BS_CHECKBOX, id, rect.left,
                           rect.top, rect.right, rect.bottom, parent)) {
    ::SendMessageA(control->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    control->SetText(text);
  }
  return control;
}

std::unique_ptr<cWindow> MakeProgressBar(const char* title, DWORD style_bits, int id,
                                         const RECT& rect, cWindow* parent) {
  EnsureCommonControls();
  auto control = NewControl();
  if (control->CreateChild(0, PROGRESS_CLASSA, title, WS_CHILD | style_bits, id, rect.left,
                           rect.top, rect.right, rect.bottom, parent)) {
    ::SendMessageA(control->hwnd(), PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    ::SendMessageA(control->hwnd(), PBM_SETPOS, 0, 0);
  }
  return control;
}

CImageButton::~CImageButton() { strip_.Release(); }

bool CImageButton::Create(int bitmap_id, int x, int y, int id, cWindow* parent) {
  if (strip_.Load(ProgramInstance(), bitmap_id)) {
    image_width_ = strip_.width() / 4;
    image_height_ = strip_.height();
  }
  const bool made = CreateChild(0, "BUTTON", "", WS_CHILD | BS_OWNERDRAW, id, x, y,
                                x + image_width_, y + image_height_, parent);
  hover_ = false;
  disabled_ = FALSE;
  if (made) {
    ::SetWindowPos(hwnd(), nullptr, 0, 0, image_width_, image_height_,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return made;
}

void CImageButton::Enable(bool enable) {
  disabled_ = enable ? FALSE : TRUE;
  cWindow::Enable(enable);
}

void CImageButton::OnDrawItem(DRAWITEMSTRUCT* item) {
  if (item == nullptr || !strip_.loaded()) return;
  const int index = static_cast<int>(
      ImageForState(disabled_ != FALSE, hover_, (item->itemState & ODS_SELECTED) != 0));
  strip_.DrawPart(index * image_width_, 0, (index + 1) * image_width_, image_height_, item->hDC, 0,
                  0);
}

LRESULT CImageButton::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_MOUSEMOVE && !hover_) {
    hover_ = true;
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd(), HOVER_DEFAULT};
    ::TrackMouseEvent(&track);
  } else if (message == WM_MOUSELEAVE) {
    hover_ = false;
    ::InvalidateRect(hwnd(), nullptr, FALSE);
  }
  return cWindow::WindowProc(message, wparam, lparam);
}

std::unique_ptr<CImageButton> MakeImageButton(int bitmap_id, int x, int y, int id,
                                              cWindow* parent) {
  auto button = std::make_unique<CImageButton>();
  button->set_owns_window(false);
  button->Create(bitmap_id, x, y, id, parent);
  return button;
}

}  // namespace ld
