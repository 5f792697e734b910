// Factories of the few control kinds the starter's windows use, and the
// owner-drawn picture button. Every factory makes a new child object that does
// not own its window (the parent's control set owns the object, and the
// system destroys the window with its parent) and returns it even when no
// window was made: callers test hwnd(). Main (window) thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "starter/ui/c_window.h"
#include "starter/ui/gdi_objects.h"

namespace ld {

// "STATIC": child, image centred vertically, plus `style_bits`; the text,
// then the font (no redraw).
std::unique_ptr<cWindow> MakeStatic(DWORD style_bits, int id, const RECT& rect, cWindow* parent,
                                    const char* text, HFONT font);

// "BUTTON": child, flat check box (the owner toggles it); font, then text.
std::unique_ptr<cWindow> MakeCheckBox(int id, const RECT& rect, cWindow* parent, const char* text,
                                      HFONT font);

// "msctls_progress32": child plus `style_bits`, range 0..100 at 0.
std::unique_ptr<cWindow> MakeProgressBar(const char* title, DWORD style_bits, int id,
                                         const RECT& rect, cWindow* parent);

// An owner-drawn button showing one picture of a horizontal strip of four
// (normal, disabled, hover, pressed; core/ui/image_button_state.h), sized to
// one picture. A strip that cannot be loaded leaves the button blank.
class CImageButton : public cWindow {
 public:
  CImageButton() = default;
  ~CImageButton() override;

  bool Create(int bitmap_id, int x, int y, int id, cWindow* parent);

  void Enable(bool enable) override;
  void OnDrawItem(DRAWITEMSTRUCT* item) override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

  bool hovering() const { return hover_; }
  bool disabled() const { return disabled_ != FALSE; }
  int image_width() const { return image_width_; }
  int image_height() const { return image_height_; }

 private:
  bool hover_ = false;
  BOOL disabled_ = FALSE;
  cBitmapHolder strip_;
  int image_width_ = 0;
  int image_height_ = 0;
};

std::unique_ptr<CImageButton> MakeImageButton(int bitmap_id, int x, int y, int id, cWindow* parent);

}  // namespace ld
