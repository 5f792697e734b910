// The embedded web panel: its interface answers and shared count, and that it
// never blocks or prompts where the system has no browser engine.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "starter/ui/c_window.h"
#include "starter/ui/web_control.h"

namespace ld {
namespace {

TEST(WebControl, InterfaceAnswersAndSharedCount) {
  const LONG base = CMWebControl::SharedReferences();
  auto a = std::make_unique<CMWebControl>();
  auto b = std::make_unique<CMWebControl>();
  EXPECT_EQ(CMWebControl::SharedReferences(), base + 2);  // the owners' own references

  void* face = reinterpret_cast<void*>(1);
  EXPECT_EQ(a->QueryInterface(IID_IDispatch, &face), static_cast<HRESULT>(0x80004001));
  EXPECT_EQ(face, nullptr);

  struct Face {
    const IID& iid;
    void* want;
  } faces[] = {
      {IID_IUnknown, static_cast<IOleClientSite*>(a.get())},
      {IID_IOleClientSite, static_cast<IOleClientSite*>(a.get())},
      {IID_IOleInPlaceSite, static_cast<IOleInPlaceSite*>(a.get())},
      {IID_IStorage, static_cast<IStorage*>(a.get())},
      {IID_IOleInPlaceFrame, static_cast<IOleInPlaceFrame*>(a.get())},
      {IID_IOleInPlaceUIWindow, static_cast<IOleInPlaceFrame*>(a.get())},
      {IID_IDocHostUIHandler, static_cast<IDocHostUIHandler*>(a.get())},
  };
  for (const Face& f : faces) {
    void* got = nullptr;
    EXPECT_EQ(a->QueryInterface(f.iid, &got), S_OK);
    EXPECT_EQ(got, f.want);
  }
  // Each success added to the count every control reports.
  EXPECT_EQ(static_cast<LONG>(b->AddRef()), base + 2 + 7 + 1);
  for (int i = 0; i < 8; ++i) b->Release();
  EXPECT_EQ(CMWebControl::SharedReferences(), base + 2);

  // Answers the browser relies on.
  IDocHostUIHandler* host = a.get();
  EXPECT_EQ(host->ShowContextMenu(0, nullptr, nullptr, nullptr), S_OK);  // no context menu
  IDispatch* external = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(host->GetExternal(&external), S_FALSE);
  EXPECT_EQ(external, nullptr);
  EXPECT_EQ(static_cast<IStorage*>(a.get())->SetClass(CLSID_NULL), S_OK);
  EXPECT_EQ(static_cast<IStorage*>(a.get())->Commit(0), E_NOTIMPL);

  b.reset();
  a.reset();
  EXPECT_EQ(CMWebControl::SharedReferences(), base);
}

TEST(WebControl, PanelWithoutBrowserEngineStaysEmptyAndAnswers) {
  cWindow parent;
  ASSERT_TRUE(parent.Create(0, kDefaultClassName, "host", WS_POPUP, nullptr, 0, 0, 500, 400,
                            nullptr, false));
  const int live = CMWebControl::LiveControls();
  auto panel = std::make_unique<CMWebControl>();
  EXPECT_EQ(CMWebControl::LiveControls(), live + 1);
  ASSERT_TRUE(
      panel->Create("IE_ADVERTISE", WS_CHILD, 11, 33, 404, 337, parent.hwnd(), 4165, nullptr));
  ASSERT_NE(panel->hwnd(), nullptr);
  char name[32] = {};
  ::GetClassNameA(panel->hwnd(), name, sizeof name);
  EXPECT_STREQ(name, "webcontrol");
  EXPECT_EQ(::GetDlgCtrlID(panel->hwnd()), 4165);

  // Whatever the system offers, navigation answers at once with a known code.
  const int navigated = panel->Navigate("http://127.0.0.1:9/launcher.qrx?gameid=ludo");
  EXPECT_TRUE(navigated == 0 || navigated == -5) << navigated;
  EXPECT_EQ(panel->Navigate(""), navigated);
  EXPECT_LT(panel->ReadyState(), 5);
  // A click on the host window is swallowed; resizing just answers.
  EXPECT_EQ(::SendMessageA(panel->hwnd(), WM_LBUTTONDOWN, 0, 0), 0);
  ::MoveWindow(panel->hwnd(), 11, 33, 300, 200, TRUE);

  panel.reset();
  EXPECT_EQ(CMWebControl::LiveControls(), live);
}

}  // namespace
}  // namespace ld
