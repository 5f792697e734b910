#include "starter/app/starter_app.h"

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(StarterAppTest, OneInstanceWithStopFlagAndAutoResetWakeEvent) {
  cStarterApp& app = cStarterApp::Get();
  EXPECT_EQ(&app, &cStarterApp::Get());

  EXPECT_FALSE(app.StopRequested());
  app.RequestStop();
  EXPECT_TRUE(app.StopRequested());
  app.ClearStop();
  EXPECT_FALSE(app.StopRequested());

  HANDLE wake = app.WakeEvent();
  ASSERT_NE(wake, nullptr);
  EXPECT_EQ(app.WakeEvent(), wake);
  ::SetEvent(wake);
  EXPECT_EQ(::WaitForSingleObject(wake, 0), WAIT_OBJECT_0);
  EXPECT_EQ(::WaitForSingleObject(wake, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

}  // namespace
}  // namespace ld
