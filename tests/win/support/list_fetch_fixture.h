// The fixture of the list fetch tests: a scratch update-list folder, a tree
// under the loopback portal as the list address, and the remote log, boxes
// and stop flag recorded instead of acted on.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "starter/report/box_presenter.h"
#include "starter/install/update_list_fetch.h"
#include "tests/win/support/download_test_support.h"
#include "tests/win/support/win_test_support.h"

namespace ld::test {

class ListFetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LD_REQUIRE_PORTAL();
    settings_.list_folder = scratch_.Sub("HUL");
    ::CreateDirectoryA(settings_.list_folder.c_str(), nullptr);
    settings_.hul_root = tree_.Root();
  }

  StopFlagGuard stop_guard_;
  LogRecorder log_;
  RecordingPresenter boxes_;
  ScopedBoxPresenter box_scope_{&boxes_};
  ScratchFolder scratch_;
  PortalTree tree_;
  ListFetchSettings settings_;
};

}  // namespace ld::test
