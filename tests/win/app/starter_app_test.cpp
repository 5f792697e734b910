#include "starter/app/starter_app.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::ScratchFolder;

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

TEST(StarterAppTest, InitializeReadsBesideTheProgramAndSetsTheStartTick) {
  cStarterApp& app = cStarterApp::Get();
  app.Initialize(nullptr, "ludoria://x");
  EXPECT_EQ(app.options().program_folder, ProgramFolderOf(ProgramPath()));
  EXPECT_NE(app.flags().start_tick, 0u);
  EXPECT_EQ(app.kind_command_tail().empty(), !app.flags().kind_mode);
}

}  // namespace
}  // namespace ld
