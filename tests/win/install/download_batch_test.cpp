// The two-slot download batch against the loopback portal: dispatch order,
// slots and the main meter shared by both workers.
#include "starter/install/download_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "starter/platform/win_handle.h"
#include "tests/win/support/download_test_support.h"

namespace ld {
namespace {

using test::PatternBytes;

TEST(DownloadBatchTest, ThreeItemsShareTwoSlotsAndTheThirdWaitsForAFreedOne) {
  LD_REQUIRE_PORTAL();
  cStarterApp& app = cStarterApp::Get();
  app.ClearStop();
  test::LogRecorder log;
  test::RecordingPresenter boxes;  // a real box would hold the test
  ScopedBoxPresenter box_scope{&boxes};
  test::ScratchFolder scratch;
  test::PortalTree tree;
  const std::string names[3] = {"one", "two", "three"};
  const uint32_t sizes[3] = {5000, 70000, 20000};
  DownloadBatch batch;
  for (int i = 0; i < 3; ++i) {
    tree.Put(names[i] + ".zip", PatternBytes(sizes[i], i));
    DownloadItem item;
    item.remote_address = tree.Url(names[i] + ".zip");
    item.zip_path = scratch.Sub(names[i] + ".zip");
    item.final_path = scratch.Sub("final\\" + names[i]);
    item.display_name = names[i];
    item.expected_size = sizes[i];
    item.target_folder = scratch.Sub("final");
    batch.AddItem(item);
  }
  ::CreateDirectoryA(scratch.Sub("final").c_str(), nullptr);
  test::ScratchFolder::WriteFile(scratch.Sub("final\\one"), "old version of one");

  std::mutex lock;
  int active = 0, most_active = 0, finished = 0;
  int finished_when_started[3] = {-1, -1, -1};
  std::vector<int> slot_order;  // slots in the order their unpacking ended
  // Events instead of sleeps fix the order whatever the machine's load: the
  // first two unpack together, "one" ends first, and "two" holds its slot
  // until "three" has started in the slot "one" freed.
  KernelHandle both_started(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  KernelHandle third_started(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  batch.set_extractor([&](const DownloadItem& item, MeterControl&) {
    const int index = item.display_name == "one" ? 0 : item.display_name == "two" ? 1 : 2;
    {
      std::lock_guard<std::mutex> hold(lock);
      finished_when_started[index] = finished;
      most_active = std::max(most_active, ++active);
      if (active == 2 && index < 2) ::SetEvent(both_started.Get());
    }
    // The old file must already be gone, the zip still there.
    EXPECT_FALSE(test::PathExists(item.final_path));
    EXPECT_TRUE(test::PathExists(item.zip_path));
    EXPECT_TRUE(index == 2 || ::WaitForSingleObject(both_started.Get(), 30000) == WAIT_OBJECT_0);
    EXPECT_TRUE(index != 1 || ::WaitForSingleObject(third_started.Get(), 30000) == WAIT_OBJECT_0);
    if (index == 2) ::SetEvent(third_started.Get());
    const bool copied = ::CopyFileA(item.zip_path.c_str(), item.final_path.c_str(), FALSE) != 0;
    std::lock_guard<std::mutex> hold(lock);
    --active;
    ++finished;
    slot_order.push_back(item.slot);
    return copied;
  });

  MeterControl::Main(app).StartBatch(sizes[0] + sizes[1] + sizes[2]);
  ASSERT_TRUE(batch.Run(app));
  // The program waits 3000 ms for its workers; a loaded machine under Wine
  // may need longer, and a test only asks that they end.
  EXPECT_TRUE(batch.WaitForWorkers(60000));
  EXPECT_EQ(batch.pending() + batch.running(), 0);
  for (int i = 0; i < 3; ++i) {
    const DownloadItem& item = batch.item(i);
    EXPECT_TRUE(item.downloaded && item.old_file_removed && item.owner == &app) << i;
    EXPECT_TRUE(test::ReadWholeFile(item.final_path) == PatternBytes(sizes[i], i)) << i;
    EXPECT_FALSE(test::PathExists(item.zip_path)) << "zip left behind: " << i;
  }
  EXPECT_EQ(std::make_pair(batch.item(0).slot, batch.item(1).slot), std::make_pair(0, 1));
  EXPECT_EQ(most_active, 2);
  EXPECT_GE(finished_when_started[2], 1) << "the third item started before a slot was freed";
  ASSERT_FALSE(slot_order.empty());
  EXPECT_EQ(batch.item(2).slot, slot_order.front());
  // Both workers fed the main meter; none of their bytes got lost.
  EXPECT_EQ(app.main_meter().done(), sizes[0] + sizes[1] + sizes[2]);
  EXPECT_TRUE(test::LogRecorder::Texts().empty());
}

}  // namespace
}  // namespace ld
