// The window framework: binding before WM_CREATE, the dispatch of commands,
// standard controls that keep their own behaviour, the control set, the
// picture button's states and the fonts.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "starter/resources/ui_resource_ids.h"
#include "starter/ui/c_window.h"
#include "starter/ui/control_set.h"
#include "starter/ui/controls.h"
#include "starter/ui/gdi_objects.h"
#include "starter/ui/logo_window.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

// Records the virtual calls it receives.
class Recorder : public cWindow {
 public:
  int OnCreate(CREATESTRUCTA*) override {
    bound_at_create = FromHandle(hwnd()) == this;
    return create_result;
  }
  void OnCommand(HWND, int id, int code) override { calls.push_back("command " + Ids(id, code)); }
  void OnCommandZero(int zero) override { calls.push_back("zero " + std::to_string(zero)); }
  void OnAccelerator(int id) override { calls.push_back("accelerator " + std::to_string(id)); }

  static std::string Ids(int id, int code) {
    return std::to_string(id) + "/" + std::to_string(code);
  }
  int create_result = 1;
  bool bound_at_create = false;
  std::vector<std::string> calls;
};

TEST(WindowFramework, ObjectIsBoundBeforeCreateAndMinusOneRefuses) {
  Recorder ok;
  ASSERT_TRUE(
      ok.Create(0, kDefaultClassName, "t", WS_POPUP, nullptr, 0, 0, 50, 50, nullptr, false));
  EXPECT_TRUE(ok.bound_at_create);
  EXPECT_EQ(cWindow::FromHandle(ok.hwnd()), &ok);

  Recorder refused;
  refused.create_result = -1;
  EXPECT_FALSE(
      refused.Create(0, kDefaultClassName, "t", WS_POPUP, nullptr, 0, 0, 50, 50, nullptr, false));
  EXPECT_EQ(refused.hwnd(), nullptr);

  HWND window = ok.hwnd();
  ::DestroyWindow(window);
  EXPECT_EQ(ok.hwnd(), nullptr);  // the object outlives its window
}

TEST(WindowFramework, CommandDispatchIgnoresMenus) {
  Recorder parent;
  ASSERT_TRUE(
      parent.Create(0, kDefaultClassName, "t", WS_POPUP, nullptr, 0, 0, 90, 90, nullptr, false));
  cWindow child;
  child.set_owns_window(false);
  ASSERT_TRUE(
      child.CreateChild(0, "BUTTON", "b", WS_CHILD | BS_PUSHBUTTON, 7, 0, 0, 20, 20, &parent));
  const auto send = [&](WPARAM w, LPARAM l) { ::SendMessageA(parent.hwnd(), WM_COMMAND, w, l); };
  send(MAKEWPARAM(40, 0), 0);  // menu item: no control window
  send(MAKEWPARAM(0, 0), 0);
  send(MAKEWPARAM(32779, 1), 0);
  send(MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(child.hwnd()));
  send(MAKEWPARAM(7, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(child.hwnd()));
  EXPECT_EQ(parent.calls, (std::vector<std::string>{"zero 0", "accelerator 32779", "command 7/0",
                                                    "command 7/5"}));
}

TEST(WindowFramework, StandardControlsKeepTheirBehaviour) {
  cWindow parent;
  ASSERT_TRUE(
      parent.Create(0, kDefaultClassName, "t", WS_POPUP, nullptr, 0, 0, 300, 90, nullptr, false));
  cWindow edit;
  edit.set_owns_window(false);
  ASSERT_TRUE(edit.CreateChild(0, "EDIT", "", WS_CHILD, 3, 0, 0, 100, 20, &parent));
  edit.SetText("C:\\Ludoria");
  EXPECT_EQ(edit.Text(), "C:\\Ludoria");
  EXPECT_EQ(::SendMessageA(edit.hwnd(), EM_LINELENGTH, 0, 0), 10);

  auto check = MakeCheckBox(4, RECT{0, 30, 200, 50}, &parent, "Create", nullptr);
  ASSERT_NE(check->hwnd(), nullptr);
  EXPECT_FALSE(check->owns_window());
  ::SendMessageA(check->hwnd(), BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(::SendMessageA(check->hwnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(check->Text(), "Create");

  auto bar = MakeProgressBar("FileDownload", 0, 5, RECT{0, 60, 200, 70}, &parent);
  ASSERT_NE(bar->hwnd(), nullptr);
  EXPECT_EQ(::SendMessageA(bar->hwnd(), PBM_GETRANGE, FALSE, 0), 100);
}

TEST(WindowFramework, ControlSetFindAddShowDestroy) {
  cWindow parent;
  ASSERT_TRUE(
      parent.Create(0, kDefaultClassName, "t", WS_POPUP, nullptr, 0, 0, 300, 90, nullptr, false));
  ControlSet set;
  EXPECT_EQ(set.Find("STC_NONE"), nullptr);
  EXPECT_FALSE(set.Add("STC_NONE"));  // an empty slot now exists
  EXPECT_EQ(set.size(), 1u);
  EXPECT_EQ(set.Find("STC_NONE"), nullptr);

  set.Add("STC_A") = MakeStatic(0, 1, RECT{0, 0, 50, 10}, &parent, "a", nullptr);
  HWND a = set.Find("STC_A")->hwnd();
  ASSERT_NE(a, nullptr);
  EXPECT_FALSE(::IsWindowVisible(a));
  ::ShowWindow(parent.hwnd(), SW_SHOW);
  set.ShowAll();
  EXPECT_TRUE(::IsWindowVisible(a));
  std::string name;
  EXPECT_EQ(set.FindByWindow(a, &name), set.Find("STC_A"));
  EXPECT_EQ(name, "STC_A");
  set.DestroyAll();
  EXPECT_FALSE(::IsWindow(a));
  EXPECT_EQ(set.size(), 0u);
}

COLORREF DrawnColour(CImageButton& button, bool selected) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 50);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_BUTTON;
  item.hwndItem = button.hwnd();
  item.hDC = dc;
  item.itemState = selected ? ODS_SELECTED : 0;
  button.OnDrawItem(&item);
  const COLORREF colour = ::GetPixel(dc, 4, 18);
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return colour;
}

TEST(ImageButton, HoverPressAndDisabledPictures) {
  cWindow parent;
  ASSERT_TRUE(
      parent.Create(0, kDefaultClassName, "t", WS_POPUP, nullptr, 0, 0, 300, 90, nullptr, false));
  auto button = MakeImageButton(IDB_BTN_CANCEL, 10, 20, 9, &parent);
  ASSERT_NE(button->hwnd(), nullptr);
  RECT rect = {};
  ::GetWindowRect(button->hwnd(), &rect);
  ::MapWindowPoints(nullptr, parent.hwnd(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.right - rect.left, 150);  // one picture of the 600-pixel strip
  EXPECT_EQ(rect.bottom - rect.top, 36);

  const COLORREF normal = RGB(0x1F, 0xA6, 0xA0), disabled = RGB(0x8A, 0x94, 0xA6);
  const COLORREF hover = RGB(0x27, 0xC2, 0xBA), pressed = RGB(0x16, 0x86, 0x80);
  EXPECT_EQ(DrawnColour(*button, false), normal);
  EXPECT_EQ(DrawnColour(*button, true), normal);  // pressed but the mouse is elsewhere
  ::SendMessageA(button->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(button->hovering());
  EXPECT_EQ(DrawnColour(*button, false), hover);
  EXPECT_EQ(DrawnColour(*button, true), pressed);
  button->Enable(false);
  EXPECT_FALSE(::IsWindowEnabled(button->hwnd()));
  EXPECT_EQ(DrawnColour(*button, false), disabled);
  ::SendMessageA(button->hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(button->hovering());
  button->Enable(true);
  EXPECT_EQ(DrawnColour(*button, false), normal);
}

TEST(Fonts, WeightHeightAndScope) {
  cFont thin;
  ASSERT_TRUE(thin.Create("Arial", 9, 0x10 | 0x02));
  LOGFONTA lf = {};
  ASSERT_NE(::GetObjectA(thin.handle(), sizeof lf, &lf), 0);
  EXPECT_EQ(lf.lfWeight, 100);
  EXPECT_LT(lf.lfHeight, 0);
  EXPECT_STREQ(lf.lfFaceName, "Arial");

  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ before = ::GetCurrentObject(dc, OBJ_FONT);
  {
    cTextScope scope(dc, "Arial", 7, 0x20);
    EXPECT_NE(::GetCurrentObject(dc, OBJ_FONT), before);
    EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
  }
  EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), before);
  EXPECT_EQ(::GetBkMode(dc), OPAQUE);
  ::DeleteDC(dc);
}

TEST(WindowFramework, PlainMessageBoxTakesTheMainWindowTitle) {
  cWindow main;
  ASSERT_TRUE(main.Create(0, kDefaultClassName, "Ludoria Setup Wizard", WS_POPUP, nullptr, 0, 0, 50,
                          50, nullptr, false));
  test::RecordingPresenter presenter;
  ScopedBoxPresenter scope(&presenter);
  SetMainWindow(&main);
  FrameworkMessageBox("Can not run without command line");
  FrameworkMessageBox("text", "Own caption");
  SetMainWindow(nullptr);
  ASSERT_EQ(presenter.boxes.size(), 2u);
  EXPECT_EQ(presenter.boxes[0].caption, "Ludoria Setup Wizard");
  EXPECT_EQ(presenter.boxes[0].owner, nullptr);
  EXPECT_EQ(presenter.boxes[0].style, 0u);
  EXPECT_EQ(presenter.boxes[1].caption, "Own caption");
}

TEST(LogoWindow, SmallTopmostPopupDraggableEverywhere) {
  cLogoWindow logo;
  ASSERT_TRUE(logo.Build());
  EXPECT_TRUE(::IsWindowVisible(logo.hwnd()));
  EXPECT_TRUE(::GetWindowLongA(logo.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(logo.Text(), "LudUpdate");
  char name[32] = {};
  ::GetClassNameA(logo.hwnd(), name, sizeof name);
  EXPECT_STREQ(name, kDefaultClassName);
  RECT r = {};
  ::GetWindowRect(logo.hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 247);
  EXPECT_EQ(r.bottom - r.top, 86);
  EXPECT_EQ(::SendMessageA(logo.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 5, r.top + 70)),
            HTCAPTION);
  logo.Destroy();
  EXPECT_EQ(logo.hwnd(), nullptr);
}

}  // namespace
}  // namespace ld
