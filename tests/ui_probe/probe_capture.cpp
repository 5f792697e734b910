#include "tests/ui_probe/probe_capture.h"

#include <cstdio>
#include <vector>

namespace ld::probe {
namespace {

// Screen and memory DCs and the bitmap, released in reverse order.
class Capture {
 public:
  Capture(int width, int height)
      : screen_(::GetDC(nullptr)),
        memory_(::CreateCompatibleDC(screen_)),
        bitmap_(::CreateCompatibleBitmap(screen_, width, height)) {
    if (memory_ && bitmap_) previous_ = ::SelectObject(memory_, bitmap_);
  }
  ~Capture() {
    Deselect();
    if (bitmap_) ::DeleteObject(bitmap_);
    if (memory_) ::DeleteDC(memory_);
    if (screen_) ::ReleaseDC(nullptr, screen_);
  }
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;

  bool ok() const { return previous_ != nullptr; }
  // GetDIBits wants the bitmap selected into no DC.
  void Deselect() {
    if (previous_) ::SelectObject(memory_, previous_);
    previous_ = nullptr;
  }
  HDC screen() const { return screen_; }
  HDC memory() const { return memory_; }
  HBITMAP bitmap() const { return bitmap_; }

 private:
  HDC screen_;
  HDC memory_;
  HBITMAP bitmap_;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace

bool SaveWindowPicture(HWND window, const std::wstring& path, bool print, std::string* error) {
  RECT rect{};
  if (!::GetWindowRect(window, &rect)) {
    *error = "the window is gone";
    return false;
  }
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) {
    *error = "the window has no area";
    return false;
  }
  Capture capture(width, height);
  if (!capture.ok()) {
    *error = "cannot create the capture bitmap";
    return false;
  }
  bool drawn = print ? ::PrintWindow(window, capture.memory(), 0) != FALSE
                     : ::BitBlt(capture.memory(), 0, 0, width, height, capture.screen(), rect.left,
                                rect.top, SRCCOPY) != FALSE;
  if (!drawn) {
    *error = "cannot copy the window's picture";
    return false;
  }

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as BMP files store rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  DWORD row = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::vector<BYTE> pixels(static_cast<size_t>(row) * height);
  capture.Deselect();
  if (!::GetDIBits(capture.screen(), capture.bitmap(), 0, height, pixels.data(),
                   reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS)) {
    *error = "cannot read the capture bitmap";
    return false;
  }
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());

  FILE* out = ::_wfopen(path.c_str(), L"wb");
  if (!out) {
    *error = "cannot create the picture file";
    return false;
  }
  bool written = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                 std::fwrite(&info, sizeof(info), 1, out) == 1 &&
                 std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  written = std::fclose(out) == 0 && written;
  if (!written) *error = "cannot write the picture file";
  return written;
}

}  // namespace ld::probe
