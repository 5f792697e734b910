#include "installer/pyx_button.h"

#include <commctrl.h>

namespace ld::installer {
namespace {

// A memory DC with one bitmap selected, both released in reverse order.
class MemoryImage {
 public:
  MemoryImage(HDC like, int width, int height, bool mono)
      : dc_(::CreateCompatibleDC(like)),
        bitmap_(mono ? ::CreateBitmap(width, height, 1, 1, nullptr)
                     : ::CreateCompatibleBitmap(like, width, height)) {
    if (dc_ && bitmap_.get()) old_ = ::SelectObject(dc_, bitmap_.get());
  }
  ~MemoryImage() {
    if (old_) ::SelectObject(dc_, old_);
    if (dc_) ::DeleteDC(dc_);
  }
  MemoryImage(const MemoryImage&) = delete;
  MemoryImage& operator=(const MemoryImage&) = delete;
  bool ok() const { return old_ != nullptr; }
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  BitmapHandle bitmap_;
  HGDIOBJ old_ = nullptr;
};

// A DC for reading a bitmap the caller owns.
class SelectedBitmap {
 public:
  SelectedBitmap(HDC like, HBITMAP bitmap) : dc_(::CreateCompatibleDC(like)) {
    if (dc_) old_ = ::SelectObject(dc_, bitmap);
  }
  ~SelectedBitmap() {
    if (old_) ::SelectObject(dc_, old_);
    if (dc_) ::DeleteDC(dc_);
  }
  SelectedBitmap(const SelectedBitmap&) = delete;
  SelectedBitmap& operator=(const SelectedBitmap&) = delete;
  bool ok() const { return old_ != nullptr; }
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

bool CPyxBmp::Load(HINSTANCE instance, int bitmap_id) {
  bitmap_.Reset(static_cast<HBITMAP>(::LoadImageA(instance, MAKEINTRESOURCEA(bitmap_id),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP info{};
  if (!bitmap_ || !::GetObjectA(bitmap_.get(), sizeof(info), &info)) return false;
  width_ = info.bmWidth;
  image_width_ = info.bmWidth / 4;
  height_ = info.bmHeight;
  return image_width_ > 0 && height_ > 0;
}

CPyxButton::~CPyxButton() {
  if (button_) ::RemoveWindowSubclass(button_, SubclassProc, 0);
  if (tooltip_) ::DestroyWindow(tooltip_);
}

bool CPyxButton::Attach(HWND dialog, int id, HBITMAP backdrop) {
  button_ = ::GetDlgItem(dialog, id);
  backdrop_ = backdrop;
  if (!button_ || !::SetWindowSubclass(button_, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  tooltip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                               nullptr, nullptr, nullptr);
  if (tooltip_) {
    char text[80] = {};
    ::GetWindowTextA(button_, text, sizeof(text));
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(button_);
    tool.lpszText = text;
    ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return true;
}

bool CPyxButton::SetStrip(HINSTANCE instance, int bitmap_id, COLORREF transparent) {
  if (!strip_.Load(instance, bitmap_id)) return false;
  tracking_ = false;
  hover_ = false;
  transparent_ = transparent;
  size_ = {strip_.image_width(), strip_.height()};
  ::SetWindowPos(button_, nullptr, 0, 0, size_.cx, size_.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void CPyxButton::SetDisabled(bool disabled) {
  disabled_ = disabled;
  ::InvalidateRect(button_, nullptr, FALSE);
}

void CPyxButton::CopyBackdrop(HDC target) const {
  if (!backdrop_) return;
  RECT rect{};
  ::GetWindowRect(button_, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(button_), reinterpret_cast<POINT*>(&rect), 2);
  SelectedBitmap source(target, backdrop_);
  if (source.ok())
    ::BitBlt(target, 0, 0, rect.right - rect.left, rect.bottom - rect.top, source.dc(), rect.left,
             rect.top, SRCCOPY);
}

void CPyxButton::DrawTransparent(HDC target, int x, int y, Image image) const {
  const int w = strip_.image_width(), h = strip_.height();
  SelectedBitmap source(target, strip_.bitmap());
  MemoryImage work(target, w, h, false);
  MemoryImage mask(target, w, h, true);
  if (!source.ok() || !work.ok() || !mask.ok()) return;
  ::BitBlt(work.dc(), 0, 0, w, h, source.dc(), static_cast<int>(image) * w, 0, SRCCOPY);
  // Mask: 1 where the work image has the transparent colour.
  ::SetBkColor(work.dc(), transparent_);
  ::BitBlt(mask.dc(), 0, 0, w, h, work.dc(), 0, 0, SRCCOPY);
  // Blank the transparent pixels of the image...
  ::SetBkColor(work.dc(), RGB(0, 0, 0));
  ::SetTextColor(work.dc(), RGB(255, 255, 255));
  ::BitBlt(work.dc(), 0, 0, w, h, mask.dc(), 0, 0, SRCAND);
  // ...cut the opaque ones out of the destination, and combine.
  COLORREF old_bk = ::SetBkColor(target, RGB(255, 255, 255));
  COLORREF old_text = ::SetTextColor(target, RGB(0, 0, 0));
  ::BitBlt(target, x, y, w, h, mask.dc(), 0, 0, SRCAND);
  ::BitBlt(target, x, y, w, h, work.dc(), 0, 0, SRCPAINT);
  ::SetBkColor(target, old_bk);
  ::SetTextColor(target, old_text);
}

void CPyxButton::DrawItem(const DRAWITEMSTRUCT& item) {
  if (!::IsWindowVisible(button_)) return;
  Image image = disabled_                         ? kDisabled
                : (item.itemState & ODS_SELECTED) ? kPressed
                : hover_                          ? kHover
                                                  : kNormal;
  // Backdrop and image meet in a memory picture first, so the button never
  // shows the one without the other.
  const int w = item.rcItem.right - item.rcItem.left, h = item.rcItem.bottom - item.rcItem.top;
  MemoryImage canvas(item.hDC, w, h, false);
  if (!canvas.ok()) return;
  CopyBackdrop(canvas.dc());
  DrawTransparent(canvas.dc(), 0, 0, image);
  ::BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, w, h, canvas.dc(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK CPyxButton::SubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR, DWORD_PTR self) {
  auto* button = reinterpret_cast<CPyxButton*>(self);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, SubclassProc, 0);
    button->button_ = nullptr;
    return ::DefSubclassProc(window, message, wparam, lparam);
  }
  return button->Handle(message, wparam, lparam);
}

LRESULT CPyxButton::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  if (tooltip_ && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    MSG relayed{button_, message, wparam, lparam, static_cast<DWORD>(::GetMessageTime()), {}};
    ::SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  switch (message) {
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, button_, 1};
        tracking_ = ::TrackMouseEvent(&track) != FALSE;
      }
      break;
    case WM_MOUSEHOVER:
      hover_ = true;
      ::InvalidateRect(button_, nullptr, FALSE);
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      hover_ = false;
      ::InvalidateRect(button_, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (disabled_) return 0;
      break;
    case WM_SETCURSOR:
      return TRUE;
    case WM_ERASEBKGND:
      CopyBackdrop(reinterpret_cast<HDC>(wparam));
      return TRUE;
    default:
      break;
  }
  return ::DefSubclassProc(button_, message, wparam, lparam);
}

}  // namespace ld::installer
