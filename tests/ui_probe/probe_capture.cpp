#include "tests/ui_probe/probe_capture.h"

#include <cstdio>
#include <memory>

namespace ld::probe {
namespace {

struct ScreenDcRelease {
  void operator()(HDC dc) const { ::ReleaseDC(nullptr, dc); }
};
struct MemoryDcDelete {
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
struct BitmapDelete {
  void operator()(HBITMAP bitmap) const { ::DeleteObject(bitmap); }
};
struct FileClose {
  void operator()(FILE* file) const { std::fclose(file); }
};

bool Failed(std::string* error, const char* text) {
  *error = text;
  return false;
}

}  // namespace

bool SaveWindowPicture(HWND window, const std::wstring& path, std::string* error) {
  RECT rect{};
  if (!::GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top)
    return Failed(error, "the window is gone or has no area");
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;

  // A bottom-up 24-bit section holds its rows as a BMP file stores them.
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  std::unique_ptr<HDC__, ScreenDcRelease> screen(::GetDC(nullptr));
  std::unique_ptr<HDC__, MemoryDcDelete> memory(::CreateCompatibleDC(screen.get()));
  void* pixels = nullptr;
  std::unique_ptr<HBITMAP__, BitmapDelete> bitmap(::CreateDIBSection(
      memory.get(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (!screen || !memory || !bitmap) return Failed(error, "cannot create the capture bitmap");
  HGDIOBJ previous = ::SelectObject(memory.get(), bitmap.get());
  const bool drawn = ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top,
                              SRCCOPY) != FALSE;
  ::GdiFlush();
  ::SelectObject(memory.get(), previous);
  if (!drawn) return Failed(error, "cannot copy the window's picture");

  const DWORD size = ((static_cast<DWORD>(width) * 3 + 3) & ~3u) * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + size;
  std::unique_ptr<FILE, FileClose> out(::_wfopen(path.c_str(), L"wb"));
  if (!out) return Failed(error, "cannot create the picture file");
  const bool written = std::fwrite(&file, sizeof(file), 1, out.get()) == 1 &&
                       std::fwrite(&info, sizeof(info), 1, out.get()) == 1 &&
                       std::fwrite(pixels, 1, size, out.get()) == size &&
                       std::fclose(out.release()) == 0;
  return written || Failed(error, "cannot write the picture file");
}

}  // namespace ld::probe
