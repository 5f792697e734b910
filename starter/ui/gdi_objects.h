// Drawing helpers of the window framework: the font wrapper cFont, the bitmap
// holder and the text-drawing scope. Main (window) thread only; each object
// owns what it made and frees it in its destructor.
#pragma once

#include <windows.h>

#include <cstdint>

namespace ld {

class cFont {
 public:
  cFont() = default;
  virtual ~cFont();
  cFont(const cFont&) = delete;
  cFont& operator=(const cFont&) = delete;

  // Replaces the font with `face` (at most 31 characters) at `points`, with
  // the style flags of core/ui/font_metrics.h, sized for `dc` (null: the
  // screen). False (and no font) when the system refuses.
  bool Create(const char* face, int points, std::uint32_t flags, HDC dc = nullptr);
  HFONT handle() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

// A bitmap resource kept as a device-independent section selected into a
// memory device context, ready to copy from.
class cBitmapHolder {
 public:
  cBitmapHolder() = default;
  ~cBitmapHolder() { Release(); }
  cBitmapHolder(const cBitmapHolder&) = delete;
  cBitmapHolder& operator=(const cBitmapHolder&) = delete;

  bool Load(HINSTANCE instance, int resource_id);
  // Takes ownership of `bitmap`.
  bool Attach(HBITMAP bitmap);
  // Copies the whole bitmap to (x, y) of `dc`.
  void Draw(HDC dc, int x, int y) const;
  // Copies (left, top, right, bottom) of the bitmap to (x, y) of `dc`.
  void DrawPart(int left, int top, int right, int bottom, HDC dc, int x, int y) const;
  void Release();

  bool loaded() const { return loaded_; }
  int width() const { return info_.bmWidth; }
  int height() const { return info_.bmHeight; }

 private:
  bool loaded_ = false;
  BITMAP info_ = {};
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// Transparent background and a selected font for the lifetime of the scope;
// the previous font and background mode come back at its end, and a font the
// scope made is deleted.
class cTextScope {
 public:
  cTextScope(HDC dc, HFONT font);
  cTextScope(HDC dc, const char* face, int points, std::uint32_t flags);
  ~cTextScope();
  cTextScope(const cTextScope&) = delete;
  cTextScope& operator=(const cTextScope&) = delete;

 private:
  void Select(HFONT font);

  HDC dc_;
  cFont font_;
  int previous_mode_ = 0;
  HGDIOBJ previous_font_ = nullptr;
};

// Text in `rect` with a transparent background, one line, no clipping; `flags`
// add the alignment (DT_RIGHT, DT_CENTER, DT_VCENTER, DT_BOTTOM ...).
void DrawLine(HDC dc, const char* text, RECT rect, UINT flags, COLORREF colour);

}  // namespace ld
