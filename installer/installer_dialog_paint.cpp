// Drawing of the installer dialog: one picture composed in memory and copied
// to the window in one piece, so the progress updates never flicker.
#include "installer/installer_dialog.h"

#include <vector>

namespace ld::installer {
namespace {

constexpr COLORREF kTextColour = RGB(50, 50, 50);
constexpr COLORREF kBarOutline = RGB(219, 219, 219);
constexpr COLORREF kBarUpper = RGB(254, 135, 92);
constexpr COLORREF kBarLower = RGB(255, 104, 83);
constexpr int kLineStep = 18;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

void FillRect(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &rect, brush);
  ::DeleteObject(brush);
}

}  // namespace

void CLdStarterInstallerDlg::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(dialog_, &paint);
  if (::IsIconic(dialog_)) {
    ::SendMessageA(dialog_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(dialog_, &client);
    int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, icon_);
  } else {
    HDC memory = ::CreateCompatibleDC(dc);
    HBITMAP picture = ::CreateCompatibleBitmap(dc, kDialogWidth, kDialogHeight);
    if (memory && picture) {
      HGDIOBJ old = ::SelectObject(memory, picture);
      DrawPicture(memory);
      ::BitBlt(dc, 0, 0, kDialogWidth, kDialogHeight, memory, 0, 0, SRCCOPY);
      ::SelectObject(memory, old);
    }
    if (picture) ::DeleteObject(picture);
    if (memory) ::DeleteDC(memory);
  }
  ::EndPaint(dialog_, &paint);
}

void CLdStarterInstallerDlg::DrawPicture(HDC target) {
  HDC source = ::CreateCompatibleDC(target);
  if (source) {
    HGDIOBJ old = ::SelectObject(source, background_.get());
    ::BitBlt(target, 0, 0, kDialogWidth, kDialogHeight, source, 0, 0, SRCCOPY);
    ::SelectObject(source, old);
    ::DeleteDC(source);
  }

  const long state = context_.state;
  RECT text_rect = {10, 185, 387, 200};
  if (state == kStateInstalling) text_rect = {10, 155, 387, 170};
  if (state == kStateFailed) text_rect = {10, 155, 387, 185};
  HGDIOBJ old_font = ::SelectObject(target, font_.get());
  ::SetBkMode(target, TRANSPARENT);
  ::SetTextColor(target, kTextColour);
  std::vector<std::string> lines = Lines(StateText());
  for (size_t i = 0; i < lines.size() && i < 3; ++i) {
    RECT line = text_rect;
    ::OffsetRect(&line, 0, static_cast<int>(i) * kLineStep);
    ::DrawTextA(target, lines[i].c_str(), static_cast<int>(lines[i].size()), &line,
                DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  ::SelectObject(target, old_font);

  if (state == kStateInstalling) {
    const RECT& bar = kProgressRect;
    HBRUSH outline = ::CreateSolidBrush(kBarOutline);
    ::FrameRect(target, &bar, outline);
    ::DeleteObject(outline);
    long percent = context_.percent;
    if (percent > 0) {
      int length = static_cast<int>(percent * (bar.right - bar.left) / 100);
      FillRect(target, {bar.left, bar.top, bar.left + length, bar.top + 3}, kBarUpper);
      FillRect(target, {bar.left, bar.top + 3, bar.left + length, bar.top + 6}, kBarLower);
    }
  }

  for (const CPyxButton* button : {&install_, &cancel_, &close_}) {
    if (!::IsWindowVisible(button->hwnd())) continue;
    RECT place;
    ::GetWindowRect(button->hwnd(), &place);
    ::MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&place), 2);
    button->DrawTransparent(target, place.left, place.top, button->CurrentImage());
  }
}

}  // namespace ld::installer
