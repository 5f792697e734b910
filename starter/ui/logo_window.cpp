#include "starter/ui/logo_window.h"

#include "core/ui/font_metrics.h"
#include "core/ui/version_text.h"
#include "starter/platform/file_version.h"
#include "starter/resources/ui_resource_ids.h"
#include "starter/app/starter_app.h"
#include "starter/settings/starter_options.h"
#include "starter/platform/string_table.h"

namespace ld {

const std::string& ProgramVersionLabel() {
  static const std::string label = [] {
    const FileVersion version = ReadFileVersion(ProgramPath());
    return version.found ? ProgramVersionText(version.high, version.low) : std::string();
  }();
  return label;
}

void PaintSmallFrame(HDC dc, const RECT& client, HBRUSH brush, HPEN pen, cBitmapHolder& logo) {
  HGDIOBJ old_brush = ::SelectObject(dc, brush);
  HGDIOBJ old_pen = ::SelectObject(dc, pen);
  ::Rectangle(dc, client.left, client.top, client.right, client.bottom);
  ::SelectObject(dc, old_pen);
  ::SelectObject(dc, old_brush);

  if (!logo.loaded()) logo.Load(ProgramInstance(), IDB_LOGO);
  logo.Draw(dc, 0, 0);

  const ProgramFlags& flags = cStarterApp::Get().flags();
  if (flags.test_zone) {
    cTextScope scope(dc, "Arial", 7, kFontThin);
    DrawLine(dc, "alpha zone", RECT{0, 22, 110, 56}, DT_RIGHT | DT_VCENTER, RGB(32, 160, 0));
  }
  if (flags.kind_mode) {
    {
      cTextScope scope(dc, "Arial", 8, kFontHeavy);
      DrawLine(dc, flags.current_game_id.c_str(), RECT{0, 3, 241, 56}, DT_RIGHT | DT_TOP,
               RGB(96, 96, 96));
    }
    cTextScope scope(dc, "Arial", 7, kFontThin);
    DrawLine(dc, ProgramVersionLabel().c_str(), RECT{0, 0, 241, 54}, DT_RIGHT | DT_BOTTOM,
             RGB(112, 112, 112));
  }
}

bool cLogoWindow::Build() {
  EnsureDefaultClass();
  if (!Create(WS_EX_TOPMOST, kDefaultClassName, "LudUpdate", WS_POPUP, nullptr, 0, 0, 247, 86,
              nullptr, false)) {
    return false;
  }
  CentreOnScreen(247, 86);
  ::ShowWindow(hwnd(), SW_SHOW);
  ::UpdateWindow(hwnd());
  return true;
}

void cLogoWindow::Destroy() {
  if (hwnd() != nullptr) ::DestroyWindow(hwnd());
}

int cLogoWindow::OnCreate(CREATESTRUCTA*) {
  brush_.Reset(::CreateSolidBrush(RGB(230, 230, 230)));
  pen_.Reset(::CreatePen(PS_SOLID, 1, RGB(127, 127, 127)));
  std::string face;
  if (!TryLoadText(IDS_LOGO_FONT_FACE, 32, &face)) face = "Arial";
  font_.Create(face.c_str(), 9, 0);
  return 1;
}

bool cLogoWindow::OnEraseBackground(HDC dc) {
  RECT client = {};
  ::GetClientRect(hwnd(), &client);
  PaintSmallFrame(dc, client, static_cast<HBRUSH>(brush_.Get()), static_cast<HPEN>(pen_.Get()),
                  logo_);
  cTextScope scope(dc, font_.handle());
  const int lift = EnglishTableInUse() ? 2 : 0;
  DrawLine(dc, LoadText(IDS_CHECKING_STARTER_VERSION).c_str(), RECT{20, 65 - lift, 220, 80 - lift},
           DT_CENTER | DT_VCENTER, RGB(52, 51, 47));
  return true;
}

LRESULT cLogoWindow::OnHitTest(int, int) { return HTCAPTION; }

}  // namespace ld
