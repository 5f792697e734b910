#include "starter/ui/gdi_objects.h"

#include <cstdlib>
#include <cstring>

#include "core/ui/font_metrics.h"

namespace ld {

cFont::~cFont() {
  if (font_ != nullptr) ::DeleteObject(font_);
}

bool cFont::Create(const char* face, int points, std::uint32_t flags, HDC dc) {
  if (font_ != nullptr) {
    ::DeleteObject(font_);
    font_ = nullptr;
  }
  LOGFONTA lf = {};
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfWeight = FontWeightFromStyle(flags);
  lf.lfItalic = (flags & kFontItalic) ? TRUE : FALSE;
  lf.lfUnderline = (flags & kFontUnderline) ? TRUE : FALSE;
  if (face != nullptr) ::lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);

  HDC measure = dc != nullptr ? dc : ::GetDC(nullptr);
  if (measure != nullptr) {
    POINT points_pair[2] = {{0, FontPixelHeight(::GetDeviceCaps(measure, LOGPIXELSY), points)},
                            {0, 0}};
    ::DPtoLP(measure, points_pair, 2);
    lf.lfHeight = -std::abs(points_pair[0].y - points_pair[1].y);
    if (dc == nullptr) ::ReleaseDC(nullptr, measure);
  }
  font_ = ::CreateFontIndirectA(&lf);
  return font_ != nullptr;
}

bool cBitmapHolder::Load(HINSTANCE instance, int resource_id) {
  auto bitmap = static_cast<HBITMAP>(::LoadImageA(instance, MAKEINTRESOURCEA(resource_id),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  return bitmap != nullptr && Attach(bitmap);
}

bool cBitmapHolder::Attach(HBITMAP bitmap) {
  Release();
  if (bitmap == nullptr) return false;
  BITMAP info = {};
  if (::GetObjectA(bitmap, sizeof info, &info) == 0) {
    ::DeleteObject(bitmap);
    return false;
  }
  dc_ = ::CreateCompatibleDC(nullptr);
  if (dc_ == nullptr) {
    ::DeleteObject(bitmap);
    return false;
  }
  bitmap_ = bitmap;
  info_ = info;
  previous_ = ::SelectObject(dc_, bitmap_);
  loaded_ = true;
  return true;
}

void cBitmapHolder::Draw(HDC dc, int x, int y) const {
  DrawPart(0, 0, info_.bmWidth, info_.bmHeight, dc, x, y);
}

void cBitmapHolder::DrawPart(int left, int top, int right, int bottom, HDC dc, int x, int y) const {
  if (!loaded_ || dc == nullptr) return;
  ::BitBlt(dc, x, y, right - left, bottom - top, dc_, left, top, SRCCOPY);
}

void cBitmapHolder::Release() {
  if (dc_ != nullptr) {
    ::SelectObject(dc_, previous_);
    ::DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) ::DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  previous_ = nullptr;
  info_ = BITMAP{};
  loaded_ = false;
}

cTextScope::cTextScope(HDC dc, HFONT font) : dc_(dc) { Select(font); }

cTextScope::cTextScope(HDC dc, const char* face, int points, std::uint32_t flags) : dc_(dc) {
  font_.Create(face, points, flags, dc);
  Select(font_.handle());
}

void cTextScope::Select(HFONT font) {
  previous_mode_ = ::SetBkMode(dc_, TRANSPARENT);
  if (font != nullptr) previous_font_ = ::SelectObject(dc_, font);
}

cTextScope::~cTextScope() {
  // The font this scope made must be out of the context before cFont frees it.
  if (previous_font_ != nullptr) ::SelectObject(dc_, previous_font_);
  if (previous_mode_ != 0) ::SetBkMode(dc_, previous_mode_);
}

void DrawLine(HDC dc, const char* text, RECT rect, UINT flags, COLORREF colour) {
  if (text == nullptr || *text == '\0') return;
  const COLORREF previous = ::SetTextColor(dc, colour);
  const int mode = ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextA(dc, text, -1, &rect, flags | DT_SINGLELINE | DT_NOCLIP);
  ::SetBkMode(dc, mode);
  ::SetTextColor(dc, previous);
}

}  // namespace ld
