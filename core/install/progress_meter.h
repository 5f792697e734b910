// Arithmetic of the installation window's progress meters.
//
// A meter either drives the main bar with its time-left and transfer-rate
// texts ("main mode") or a single named bar. The meter computes what to show;
// the Windows side turns a MeterUpdate into bar messages and texts (byte
// counts formatted by the shell). Times are tick counts in milliseconds passed
// in by the caller, so the arithmetic is testable and reads no clock.
//
// Not synchronised: the main meter takes bytes from both download workers,
// so its owner serialises the calls (one lock around call and display).
#pragma once

#include <cstdint>

namespace ld {

enum class MeterBar {
  kNone,   // no bar changes
  kNamed,  // the bar named by the meter's owner
  kMain,   // "PROGRESS1"
};

enum class MeterText {
  kUnchanged,
  kClear,          // "STC_LEFTTIME" and "STC_NETWORKSPEED" emptied
  kProgress,       // time left (or empty) and bytes done; transfer rate
  kDecompressing,  // "STC_LEFTTIME" shows the decompressing text
};

// One display change. Fields past `text` matter only for kProgress.
struct MeterUpdate {
  MeterBar bar = MeterBar::kNone;
  bool set_range = false;  // range 0..range_max before the position
  // In bar units: both fit a signed 32-bit number and position <= range_max.
  uint32_t range_max = 0;
  uint32_t position = 0;
  MeterText text = MeterText::kUnchanged;
  // No time-left figure exists until a rate does; the time-left text is then
  // emptied instead.
  bool has_time_left = false;
  uint32_t time_left = 0;         // whole minutes at 60 s or more, else seconds
  const char* time_unit = "sec";  // "min" or "sec"
  uint32_t bytes_done = 0;
  uint32_t rate = 0;  // bytes per second
};

class ProgressMeter {
 public:
  // Plain transfers.
  void StartBatch(uint32_t total, uint32_t now_ms);
  MeterUpdate StartTransfer(uint32_t total, uint32_t now_ms);
  MeterUpdate SetMode(bool named);
  MeterUpdate AddBytes(uint32_t n, uint32_t now_ms);
  MeterUpdate Reset(bool named);

  // Staged batches: each file is downloaded, then unpacked; the 0..100 bar
  // is split into a download half and an unpacking half.
  void StagedStart(uint32_t staged_total, uint32_t now_ms);
  void StagedNextFile(uint32_t size);
  MeterUpdate StagedAddBytes(uint32_t n, uint32_t now_ms);
  void StagedFileDownloaded();
  void StagedFileExtracted();
  MeterUpdate ExtractionProgress(uint32_t part, uint32_t whole);

  // The main bar at the start of an install phase. Plain byte counts need the
  // range 0..total and staged shares the range 0..100; a bar clamps a
  // position beyond its range, so the wrong one shows full or empty.
  MeterUpdate StartMainBatch(uint32_t total, uint32_t now_ms);
  MeterUpdate StartMainStaged(uint32_t staged_total, uint32_t now_ms);

  bool named() const { return named_; }
  uint32_t total() const { return total_; }
  uint32_t done() const { return done_; }
  uint32_t rate() const { return rate_; }
  uint32_t staged_total() const { return staged_total_; }
  uint32_t staged_current() const { return staged_current_; }
  uint32_t staged_completed() const { return staged_completed_; }
  uint32_t downloaded_share() const { return downloaded_share_; }
  uint32_t extracted_share() const { return extracted_share_; }
  uint32_t current_weight() const { return current_weight_; }

 private:
  MeterBar Bar() const { return named_ ? MeterBar::kNamed : MeterBar::kMain; }
  void UpdateRate(uint32_t bytes, uint32_t now_ms);
  void FillProgressText(uint32_t remaining, uint32_t bytes_done, MeterUpdate* update) const;

  bool named_ = false;
  uint32_t total_ = 0;
  uint32_t start_tick_ = 0;
  uint32_t done_ = 0;
  uint32_t rate_ = 0;
  uint32_t staged_total_ = 0;
  uint32_t staged_current_ = 0;
  uint32_t staged_completed_ = 0;
  uint32_t staged_current_size_ = 0;
  uint32_t downloaded_share_ = 0;
  uint32_t extracted_share_ = 0;
  uint32_t current_weight_ = 0;
};

// a / b as a double, 0 when b is 0.
double MeterRatio(double a, double b);

}  // namespace ld
