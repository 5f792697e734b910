// The embedded web panel's interface answers and its shared reference count
// (a miscount frees a panel the browser still uses).
#include "starter/ui/web_control.h"

#include <gtest/gtest.h>

#include <memory>

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
  const std::pair<const IID*, void*> faces[] = {
      {&IID_IOleClientSite, static_cast<IOleClientSite*>(a.get())},
      {&IID_IOleInPlaceSite, static_cast<IOleInPlaceSite*>(a.get())},
      {&IID_IStorage, static_cast<IStorage*>(a.get())},
      {&IID_IOleInPlaceFrame, static_cast<IOleInPlaceFrame*>(a.get())},
      {&IID_IDocHostUIHandler, static_cast<IDocHostUIHandler*>(a.get())}};
  for (const auto& f : faces) {
    EXPECT_EQ(a->QueryInterface(*f.first, &face), S_OK);
    EXPECT_EQ(face, f.second);
  }
  // Each success added to the count every control reports.
  EXPECT_EQ(static_cast<LONG>(b->AddRef()), base + 2 + 5 + 1);
  for (int i = 0; i < 6; ++i) b->Release();
  EXPECT_EQ(CMWebControl::SharedReferences(), base + 2);
  b.reset();
  a.reset();
  EXPECT_EQ(CMWebControl::SharedReferences(), base);
}

}  // namespace
}  // namespace ld
