// The installer's image buttons: owner-drawn push buttons whose look comes
// from a strip of four images (normal, hovered, pressed, disabled) with one
// colour drawn as transparent. All on the dialog thread.
#pragma once

#include <windows.h>

#include <string>

#include "installer/win_handles.h"

namespace ld::installer {

// A strip of four equal images side by side, from a bitmap resource.
class CPyxBmp {
 public:
  bool Load(HINSTANCE instance, int bitmap_id);
  HBITMAP bitmap() const { return bitmap_.get(); }
  int width() const { return width_; }
  int image_width() const { return image_width_; }
  int height() const { return height_; }

 private:
  BitmapHandle bitmap_;
  int width_ = 0;
  int image_width_ = 0;
  int height_ = 0;
};

class CPyxButton {
 public:
  enum Image { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

  CPyxButton() = default;
  ~CPyxButton();
  CPyxButton(const CPyxButton&) = delete;
  CPyxButton& operator=(const CPyxButton&) = delete;

  // Takes over the dialog's button `id`: mouse tracking, tool-tip (the
  // button's text), and erasing from `backdrop`, the parent's background
  // picture (the parent owns it and keeps it for the button's life).
  bool Attach(HWND dialog, int id, HBITMAP backdrop);

  // Loads the strip and resizes the button to one image, keeping its place.
  bool SetStrip(HINSTANCE instance, int bitmap_id, COLORREF transparent);

  // The disabled look: the fourth image, and clicks are ignored.
  void SetDisabled(bool disabled);
  bool disabled() const { return disabled_; }

  HWND hwnd() const { return button_; }

  // WM_DRAWITEM of the parent for this button.
  void DrawItem(const DRAWITEMSTRUCT& item);

  // Draws image `image` at (x, y) of `target` over whatever `target` holds
  // there, leaving the transparent pixels as they are.
  void DrawTransparent(HDC target, int x, int y, Image image) const;

  // The image the button shows now, not pressed.
  Image CurrentImage() const { return disabled_ ? kDisabled : hover_ ? kHover : kNormal; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR id, DWORD_PTR self);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void CopyBackdrop(HDC target) const;

  HWND button_ = nullptr;
  HWND tooltip_ = nullptr;
  HBITMAP backdrop_ = nullptr;
  CPyxBmp strip_;
  COLORREF transparent_ = RGB(0, 0, 255);
  bool disabled_ = false;
  bool tracking_ = false;
  bool hover_ = false;
  SIZE size_ = {0, 0};
};

}  // namespace ld::installer
