// cLogoWindow: the small borderless box shown while the starter checks for a
// newer version of itself, and the texts it shares with the installation
// window's message page. Main thread only; the start-up owns the object.
#pragma once

#include <windows.h>

#include <string>

#include "starter/ui/c_window.h"
#include "starter/ui/gdi_objects.h"
#include "starter/platform/win_handle.h"

namespace ld {

class cLogoWindow : public cWindow {
 public:
  cLogoWindow() = default;
  ~cLogoWindow() override = default;

  // A top-most popup of the default class titled "LudUpdate", 247 x 86,
  // centred and shown. False when no window was made.
  bool Build();
  // Destroys the window (the object stays).
  void Destroy();

  int OnCreate(CREATESTRUCTA* data) override;
  bool OnEraseBackground(HDC dc) override;
  LRESULT OnHitTest(int x, int y) override;

 private:
  GdiObjectHandle brush_;
  GdiObjectHandle pen_;
  cFont font_;
  cBitmapHolder logo_;
};

// "v%u.%u.%u.%u" of the running program's file version, read once; empty when
// the version cannot be read.
const std::string& ProgramVersionLabel();

// The framed fill, the logo at (0, 0) and the texts every small layout shows
// over it: "alpha zone" in the test zone, and in kind mode the current game id
// and the program version.
void PaintSmallFrame(HDC dc, const RECT& client, HBRUSH brush, HPEN pen, cBitmapHolder& logo);

}  // namespace ld
