// Painting of the installation window: the small message page, the large
// pages with their edges and panel, and the colours of the text controls.
#include <ctime>

#include "core/base/timestamp_text.h"
#include "core/ui/font_metrics.h"
#include "starter/resources/ui_resource_ids.h"
#include "starter/app/starter_app.h"
#include "starter/ui/logo_window.h"
#include "starter/ui/main_window.h"

namespace ld {

void cMainWindow::LoadBitmaps() {
  if (bitmaps_loaded_) return;
  bitmaps_loaded_ = true;
  HINSTANCE instance = ProgramInstance();
  logo_.Load(instance, IDB_LOGO);
  folder_label_.Load(instance, IDB_FOLDER_LABEL);
  background_.Load(instance, IDB_BACKGROUND);
  bottom_edge_.Load(instance, IDB_BOTTOM_EDGE);
  top_edge_.Load(instance, IDB_TOP_EDGE);
  right_edge_.Load(instance, IDB_RIGHT_EDGE);
}

bool cMainWindow::OnEraseBackground(HDC dc) {
  if (layout_ == kLayoutNone) return true;
  LoadBitmaps();
  if (layout_ == kLayoutSmall) {
    PaintSmall(dc);
  } else {
    PaintLarge(dc);
  }
  return true;
}

void cMainWindow::PaintSmall(HDC dc) {
  RECT client = {};
  ::GetClientRect(hwnd(), &client);
  PaintSmallFrame(dc, client, static_cast<HBRUSH>(message_brush_.Get()),
                  static_cast<HPEN>(frame_pen_.Get()), logo_);
}

void cMainWindow::PaintLarge(HDC dc) {
  RECT client = {};
  ::GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  ::FillRect(dc, &client, static_cast<HBRUSH>(window_brush_.Get()));
  background_.Draw(dc, 0, 0);

  const ProgramFlags& flags = cStarterApp::Get().flags();
  if (flags.test_zone) {
    cTextScope scope(dc, "Arial", 6, kFontThin);
    DrawLine(dc, "alpha zone", RECT{0, 22, 86, 25}, DT_RIGHT | DT_VCENTER, RGB(32, 160, 0));
  }
  if (flags.kind_mode) {
    {
      cTextScope scope(dc, "Arial", 8, kFontHeavy);
      DrawLine(dc, flags.current_game_id.c_str(), RECT{0, 8, 717, 25}, DT_RIGHT | DT_VCENTER,
               RGB(208, 208, 208));
    }
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    BrokenDownTime time;
    time.year = now.wYear;
    time.month = now.wMonth;
    time.day_of_week = now.wDayOfWeek;
    time.day = now.wDay;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    const std::string stamp = TimestampText(time, "", false);
    cTextScope scope(dc, "Arial", 7, kFontThin);
    DrawLine(dc, stamp.c_str(), RECT{0, 10, 662, 27}, DT_RIGHT | DT_VCENTER, RGB(208, 208, 208));
  }
  top_edge_.Draw(dc, 0, 0);
  right_edge_.Draw(dc, width - 5, 0);
  bottom_edge_.Draw(dc, 0, height - 5);
  if (flags.kind_mode) {
    cTextScope scope(dc, "Arial", 7, kFontThin);
    DrawLine(dc, ProgramVersionLabel().c_str(), RECT{0, 0, 767, 373}, DT_RIGHT | DT_BOTTOM,
             RGB(184, 184, 184));
  }

  const int bottom = page_ == kPageInstallFolder ? 315 : 290;
  HGDIOBJ old_brush = ::SelectObject(dc, panel_brush_.Get());
  HGDIOBJ old_pen = ::SelectObject(dc, white_pen_.Get());
  ::Rectangle(dc, 422, 192, 770, bottom);
  ::SelectObject(dc, grey_pen_.Get());
  ::Rectangle(dc, 423, 193, 769, bottom - 1);
  ::SelectObject(dc, old_pen);
  ::SelectObject(dc, old_brush);
  if (page_ == kPageInstallFolder) folder_label_.Draw(dc, 435, 205);
}

LRESULT cMainWindow::ControlColour(HDC dc, HWND control, bool edit) {
  std::string name;
  if (controls_.FindByWindow(control, &name) == nullptr) return kDefaultProcessing;
  if (edit) {
    if (name != "EDT_PATH") return kDefaultProcessing;
    ::SetBkColor(dc, RGB(247, 247, 247));
    return reinterpret_cast<LRESULT>(control_brush_.Get());
  }
  if (name == "MSG1") {
    ::SetTextColor(dc, RGB(52, 51, 47));
    ::SetBkColor(dc, RGB(230, 230, 230));
    return reinterpret_cast<LRESULT>(message_brush_.Get());
  }
  COLORREF text;
  if (name == "STC_COUNTER") {
    text = RGB(208, 208, 208);
  } else if (name == "STC_MESSAGE" || name == "STC_FILENAME_DISP" || name == "STC_NETWORKSPEED" ||
             name == "STC_FIX_MESSAGE" || name == "STC_LEFTTIME") {
    text = RGB(135, 135, 135);
  } else {
    return kDefaultProcessing;
  }
  ::SetTextColor(dc, text);
  ::SetBkColor(dc, RGB(247, 247, 247));
  return reinterpret_cast<LRESULT>(control_brush_.Get());
}

}  // namespace ld
