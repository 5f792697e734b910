#include "core/install/progress_meter.h"

#include <gtest/gtest.h>

#include <string>

namespace ld {
namespace {

constexpr uint32_t kT0 = 5000;

// One line per display change: "main range=1000 pos=250 progress done=250 rate=250 left=3sec".
std::string D(const MeterUpdate& u) {
  static const char* const kBars[] = {"none", "named", "main"};
  static const char* const kTexts[] = {"unchanged", "clear", "progress", "decompressing"};
  std::string s = kBars[static_cast<int>(u.bar)];
  if (u.set_range) s += " range=" + std::to_string(u.range_max);
  s += " pos=" + std::to_string(u.position) + " " + kTexts[static_cast<int>(u.text)];
  if (u.text != MeterText::kProgress) return s;
  s += " done=" + std::to_string(u.bytes_done) + " rate=" + std::to_string(u.rate);
  if (u.has_time_left) s += " left=" + std::to_string(u.time_left) + u.time_unit;
  return s;
}

TEST(ProgressMeter, PlainTransferInMainMode) {
  ProgressMeter m;
  EXPECT_EQ("main range=1000 pos=0 unchanged", D(m.StartTransfer(1000, kT0)));
  // 750 / 250 + 0.5 seconds left, truncated.
  EXPECT_EQ("main pos=250 progress done=250 rate=250 left=3sec", D(m.AddBytes(250, kT0 + 1000)));
}

TEST(ProgressMeter, TimeLeftUnitsAndRounding) {
  struct Case {
    uint32_t total;
    uint32_t bytes;
    uint32_t elapsed_ms;
    uint32_t rate;
    uint32_t time_left;
    const char* unit;
  };
  const Case cases[] = {
      {1000, 100, 1000, 100, 9, "sec"},     // 9.0 + 0.5
      {1050, 100, 1000, 100, 10, "sec"},    // 9.5 + 0.5 rounds up
      {6049, 100, 1000, 100, 59, "sec"},    // 59.49 + 0.5
      {6050, 100, 1000, 100, 1, "min"},     // 60 s
      {100000, 100, 1000, 100, 16, "min"},  // 999 s, whole minutes
      {1000, 500, 500, 1000, 1, "sec"},     // half a second elapsed doubles the rate
      {1000, 1000, 1000, 1000, 0, "sec"},   // done
      {1000, 1500, 1000, 1500, 0, "sec"},   // more than announced: no wrap-around
      {100, 100, 100000, 1, 0, "sec"},      // done at a slow rate: nothing left
  };
  for (const Case& c : cases) {
    ProgressMeter m;
    m.StartBatch(c.total, kT0);
    MeterUpdate u = m.AddBytes(c.bytes, kT0 + c.elapsed_ms);
    std::string label = std::to_string(c.total) + "/" + std::to_string(c.bytes);
    EXPECT_EQ(c.rate, u.rate) << label;
    ASSERT_TRUE(u.has_time_left) << label;
    EXPECT_EQ(c.time_left, u.time_left) << label;
    EXPECT_STREQ(c.unit, u.time_unit) << label;
  }
}

TEST(ProgressMeter, NoTimeLeftBeforeARateExists) {
  ProgressMeter m;
  m.StartBatch(1000, kT0);
  // No time has passed: divisor 0.
  EXPECT_EQ("main pos=10 progress done=10 rate=0", D(m.AddBytes(10, kT0)));
  EXPECT_EQ(0u, m.rate());
}

TEST(ProgressMeter, RateSaturatesAndTickWraps) {
  ProgressMeter m;
  m.StartBatch(UINT32_MAX, kT0);
  EXPECT_EQ(UINT32_MAX, m.AddBytes(4000000000u, kT0 + 1).rate);

  // Tick count wrapping past 2^32 still gives the true elapsed time.
  m.StartBatch(10000, 0xFFFFFF00u);
  EXPECT_EQ(2000u, m.AddBytes(2048, 0x00000300u).rate);  // 1024 ms
}

TEST(ProgressMeter, NamedModeDrivesOnlyItsBar) {
  ProgressMeter m;
  m.StartBatch(500, kT0);
  EXPECT_EQ("named range=500 pos=0 unchanged", D(m.SetMode(true)));
  EXPECT_EQ("named pos=100 unchanged", D(m.AddBytes(100, kT0 + 2000)));
  EXPECT_EQ(50u, m.rate());
  EXPECT_EQ("main range=500 pos=100 clear", D(m.SetMode(false)));
}

// Two files of 400 and 600 bytes: each is downloaded (first half of its
// weight) and then unpacked (second half).
TEST(ProgressMeter, StagedMainModeWalkThrough) {
  ProgressMeter m;
  EXPECT_EQ("main range=100 pos=0 clear", D(m.Reset(false)));
  m.StagedStart(1000, kT0);
  m.StagedNextFile(400);
  EXPECT_EQ(40u, m.current_weight());

  // Position 200/400 * 40 * 0.5; 800 / 200 + 0.5 seconds left.
  EXPECT_EQ("main pos=10 progress done=200 rate=200 left=4sec",
            D(m.StagedAddBytes(200, kT0 + 1000)));
  EXPECT_EQ(20u, m.StagedAddBytes(200, kT0 + 2000).position);

  m.StagedFileDownloaded();
  EXPECT_EQ(20u, m.downloaded_share());
  // 20 + 0 + 1/2 * 40 * 0.5
  EXPECT_EQ("main pos=30 decompressing", D(m.ExtractionProgress(1, 2)));
  m.StagedFileExtracted();
  EXPECT_EQ(20u, m.extracted_share());

  m.StagedNextFile(600);
  EXPECT_EQ(60u, m.current_weight());
  EXPECT_EQ(0u, m.staged_current());
  // 40 + 300/600 * 60 * 0.5; completed + current bytes; 700 bytes in 3.5 s.
  MeterUpdate u = m.StagedAddBytes(300, kT0 + 3500);
  EXPECT_EQ(55u, u.position);
  EXPECT_EQ(700u, u.bytes_done);
  EXPECT_EQ(200u, u.rate);
  m.StagedAddBytes(300, kT0 + 4000);
  m.StagedFileDownloaded();
  EXPECT_EQ(70u, m.ExtractionProgress(0, 5).position);
  EXPECT_EQ(100u, m.ExtractionProgress(5, 5).position);
  m.StagedFileExtracted();
  EXPECT_EQ(50u, m.extracted_share());

  m.StagedStart(1000, kT0);
  m.StagedNextFile(1000);  // one file holds everything
  EXPECT_EQ(100u, m.current_weight());
}

TEST(ProgressMeter, StagedNamedMode) {
  ProgressMeter m;
  EXPECT_EQ("named range=100 pos=0 unchanged", D(m.Reset(true)));
  m.StagedStart(1000, kT0);
  m.StagedNextFile(400);  // main mode only
  EXPECT_EQ(0u, m.current_weight());
  EXPECT_EQ("named pos=25 unchanged", D(m.StagedAddBytes(500, kT0 + 1000)));  // 500/1000 * 50
  m.StagedFileDownloaded();                                                   // main mode only
  EXPECT_EQ(0u, m.staged_completed());
  EXPECT_EQ(75u, m.ExtractionProgress(1, 2).position);
  EXPECT_EQ(50u, m.ExtractionProgress(3, 0).position);  // divisor 0 counts as 0
}

TEST(ProgressMeter, ZeroDivisorsCountAsZero) {
  ProgressMeter m;
  m.Reset(false);
  m.StagedStart(0, kT0);
  m.StagedNextFile(100);  // ignored while the staged total is 0
  MeterUpdate u = m.StagedAddBytes(100, kT0 + 1000);
  EXPECT_EQ(0u, u.position);
  EXPECT_EQ(0u, u.time_left);
  m.StagedFileDownloaded();
  EXPECT_EQ(0u, m.downloaded_share());
  EXPECT_EQ(0u, m.ExtractionProgress(1, 0).position);
  EXPECT_DOUBLE_EQ(0.0, MeterRatio(5, 0));
}

}  // namespace
}  // namespace ld
