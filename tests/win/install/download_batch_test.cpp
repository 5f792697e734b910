// The two-slot download batch against the loopback portal: dispatch order,
// slots, counters, the piece size rule, meters shared by both workers, a
// failed item and a cancel.
#include "starter/install/download_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "core/base/error_codes.h"
#include "starter/platform/win_handle.h"
#include "tests/win/support/download_test_support.h"

namespace ld {
namespace {

using test::PatternBytes;
using test::PortalTree;
using test::ReadWholeFile;

// How long a test waits for the workers to end. The program waits 3000 ms;
// a test only asks that they end, and a loaded machine under Wine may need
// longer than that.
constexpr DWORD kWorkersEnd = 60000;

class DownloadBatchTest : public ::testing::Test {
 protected:
  void SetUp() override { LD_REQUIRE_PORTAL(); }

  // An item for `name` served by the tree, downloaded into the scratch
  // folder and "unpacked" to final/<name>.
  DownloadItem Item(const PortalTree& tree, const std::string& name, uint32_t size) {
    DownloadItem item;
    item.remote_address = tree.Url(name + ".zip");
    item.zip_path = scratch_.Sub(name + ".zip");
    item.final_path = scratch_.Sub("final\\" + name);
    item.display_name = name;
    item.expected_size = size;
    item.target_folder = scratch_.Sub("final");
    return item;
  }

  // Differences between the positions a slot bar was given after its
  // transfer started.
  std::vector<uint32_t> Pieces(const std::string& bar) {
    std::vector<uint32_t> pieces;
    const std::vector<uint32_t> positions = sink_.PositionsOf(bar);
    for (std::size_t i = 1; i < positions.size(); ++i) {
      if (positions[i] > positions[i - 1]) pieces.push_back(positions[i] - positions[i - 1]);
    }
    return pieces;
  }

  cStarterApp& app_ = cStarterApp::Get();
  test::StopFlagGuard stop_guard_;
  test::KindModeGuard kind_guard_{false};
  test::LogRecorder log_;
  test::RecordingSink sink_;
  ScopedProgressSink sink_scope_{&sink_};
  test::RecordingPresenter boxes_;
  ScopedBoxPresenter box_scope_{&boxes_};
  test::ScratchFolder scratch_;
};

TEST_F(DownloadBatchTest, EmptyBatchReturnsAtOnceWithoutTouchingAnything) {
  DownloadBatch batch;
  EXPECT_TRUE(batch.Run(app_));
  EXPECT_TRUE(batch.WaitForWorkers(kWorkersEnd));
  EXPECT_TRUE(sink_.calls().empty());
  EXPECT_TRUE(log_.events().empty());
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(DownloadBatchTest, ThreeItemsShareTwoSlotsAndTheThirdWaitsForAFreedOne) {
  PortalTree tree;
  const uint32_t sizes[3] = {5000, 70000, 20000};
  const char* names[3] = {"one", "two", "three"};
  for (int i = 0; i < 3; ++i) tree.Put(std::string(names[i]) + ".zip", PatternBytes(sizes[i], i));
  ::CreateDirectoryA(scratch_.Sub("final").c_str(), nullptr);
  test::ScratchFolder::WriteFile(scratch_.Sub("final\\one"), "old version of one");

  DownloadBatch batch;
  for (int i = 0; i < 3; ++i) batch.AddItem(Item(tree, names[i], sizes[i]));
  EXPECT_EQ(batch.pending(), 3);

  std::mutex lock;
  int active = 0, most_active = 0, finished = 0;
  int finished_when_started[3] = {-1, -1, -1};
  std::vector<int> slot_order;  // slots in the order their unpacking ended
  // Events instead of sleeps fix the order whatever the machine's load: the
  // first two unpack together, "one" ends first, and "two" holds its slot
  // until "three" has started in the slot "one" freed.
  KernelHandle both_started(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  KernelHandle third_started(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  constexpr DWORD kStepWait = 30000;
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
    if (index < 2) {
      EXPECT_EQ(::WaitForSingleObject(both_started.Get(), kStepWait), WAIT_OBJECT_0);
    }
    if (index == 1) {
      EXPECT_EQ(::WaitForSingleObject(third_started.Get(), kStepWait), WAIT_OBJECT_0);
    }
    if (index == 2) ::SetEvent(third_started.Get());
    const bool copied = ::CopyFileA(item.zip_path.c_str(), item.final_path.c_str(), FALSE) != 0;
    std::lock_guard<std::mutex> hold(lock);
    --active;
    ++finished;
    slot_order.push_back(item.slot);
    return copied;
  });

  MeterControl main = MeterControl::Main(app_);
  main.StartBatch(sizes[0] + sizes[1] + sizes[2]);
  ASSERT_TRUE(batch.Run(app_));
  EXPECT_TRUE(batch.WaitForWorkers(kWorkersEnd));
  EXPECT_EQ(batch.pending(), 0);
  EXPECT_EQ(batch.running(), 0);

  for (int i = 0; i < 3; ++i) {
    const DownloadItem& item = batch.item(i);
    EXPECT_TRUE(item.downloaded) << names[i];
    EXPECT_TRUE(item.old_file_removed) << names[i];
    EXPECT_EQ(item.owner, &app_);
    EXPECT_TRUE(ReadWholeFile(item.final_path) == PatternBytes(sizes[i], i)) << names[i];
    EXPECT_FALSE(test::PathExists(item.zip_path)) << "zip left behind: " << names[i];
  }
  EXPECT_EQ(batch.item(0).slot, 0);
  EXPECT_EQ(batch.item(1).slot, 1);
  EXPECT_EQ(most_active, 2);
  EXPECT_EQ(finished_when_started[0], 0);
  EXPECT_EQ(finished_when_started[1], 0);
  EXPECT_GE(finished_when_started[2], 1) << "the third item started before a slot was freed";
  ASSERT_FALSE(slot_order.empty());
  EXPECT_EQ(batch.item(2).slot, slot_order.front());

  // Both workers fed the main meter; none of their bytes got lost.
  EXPECT_EQ(app_.main_meter().done(), sizes[0] + sizes[1] + sizes[2]);
  EXPECT_EQ(sink_.TextsOf(kFileNameText), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_TRUE(log_.events().empty());
}

TEST_F(DownloadBatchTest, PackageZipsAreReadInPiecesOfTheSizeRule) {
  PortalTree tree;
  tree.Put("small.zip", PatternBytes(5000));
  tree.Put("large.zip", PatternBytes(100 * 1024));
  DownloadBatch batch;
  batch.AddItem(Item(tree, "small", 5000));
  batch.AddItem(Item(tree, "large", 100 * 1024));
  ASSERT_TRUE(batch.Run(app_));
  ASSERT_TRUE(batch.WaitForWorkers(kWorkersEnd));

  // 5000 bytes: one piece of a 5120-byte buffer.
  EXPECT_EQ(Pieces(kSlotBar0), (std::vector<uint32_t>{5000}));
  // 100 KB: 40960-byte pieces (the last one shorter).
  const std::vector<uint32_t> large = Pieces(kSlotBar1);
  ASSERT_FALSE(large.empty());
  EXPECT_EQ(*std::max_element(large.begin(), large.end()), 40960u);
  EXPECT_EQ(large.size(), 3u);
  // Without an extractor the zip stays where it came.
  EXPECT_TRUE(ReadWholeFile(batch.item(1).zip_path) == PatternBytes(100 * 1024));
}

TEST_F(DownloadBatchTest, AFailedItemIsLeftForTheVerificationAndTheOthersGoOn) {
  PortalTree tree;
  tree.Put("good.zip", PatternBytes(3000));
  DownloadBatch batch;
  batch.AddItem(Item(tree, "missing", 3000));
  batch.AddItem(Item(tree, "good", 3000));
  int extracted = 0;
  batch.set_extractor([&](const DownloadItem&, MeterControl&) { return ++extracted > 0; });
  EXPECT_TRUE(batch.Run(app_));
  EXPECT_TRUE(batch.WaitForWorkers(kWorkersEnd));
  EXPECT_FALSE(batch.item(0).downloaded);
  EXPECT_FALSE(batch.item(0).old_file_removed);
  EXPECT_TRUE(batch.item(1).downloaded);
  EXPECT_EQ(extracted, 1);
  const auto texts = log_.TextsOf(error_code::kDownloadFile);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "[ERR]DownloadFile():: HttpQueryInfo() failed [FnRet:404]");
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(DownloadBatchTest, CancelStopsDispatchingAndLeavesThePartialZip) {
  // Large enough that no worker gets through its file before the first
  // piece of either is reported.
  constexpr uint32_t kSize = 2 * 1024 * 1024;
  PortalTree tree;
  for (const char* name : {"a", "b", "c"})
    tree.Put(std::string(name) + ".zip", PatternBytes(kSize));
  DownloadBatch batch;
  for (const char* name : {"a", "b", "c"}) batch.AddItem(Item(tree, name, kSize));
  sink_.on_position = [](const std::string& bar, uint32_t position) {
    if ((bar == kSlotBar0 || bar == kSlotBar1) && position > 0) cStarterApp::Get().RequestStop();
  };
  bool extracted = false;
  batch.set_extractor([&](const DownloadItem&, MeterControl&) { return extracted = true; });

  EXPECT_FALSE(batch.Run(app_));
  EXPECT_TRUE(batch.WaitForWorkers(kWorkersEnd));
  EXPECT_EQ(batch.running(), 0);
  for (std::size_t i = 0; i < batch.size(); ++i) EXPECT_FALSE(batch.item(i).downloaded) << i;
  // The worker whose piece came first stopped after it, the other one at
  // its next check; what they wrote stays.
  std::size_t longest = 0;
  for (std::size_t i = 0; i < 2; ++i) {
    const std::string partial = ReadWholeFile(batch.item(i).zip_path);
    EXPECT_LT(partial.size(), kSize) << i;
    EXPECT_TRUE(partial == PatternBytes(kSize).substr(0, partial.size())) << i;
    longest = std::max(longest, partial.size());
  }
  EXPECT_GT(longest, 0u);
  // The third item was never dispatched.
  EXPECT_EQ(batch.item(2).slot, -1);
  EXPECT_FALSE(test::PathExists(batch.item(2).zip_path));
  EXPECT_FALSE(extracted);
  EXPECT_TRUE(log_.events().empty());
}

}  // namespace
}  // namespace ld
