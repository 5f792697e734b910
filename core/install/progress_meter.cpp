#include "core/install/progress_meter.h"

#include <cstdint>

namespace ld {
namespace {

constexpr uint32_t kStagedRange = 100;

// Truncates toward zero, saturating: a double outside uint32_t has no
// defined conversion, and a burst of bytes in the first millisecond can give
// a rate far beyond it.
uint32_t ToU32(double x) {
  if (!(x > 0.0)) return 0;
  if (x >= 4294967295.0) return UINT32_MAX;
  return static_cast<uint32_t>(x);
}

uint32_t Clamp32(uint64_t x) { return x > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(x); }

uint32_t Remaining(uint64_t total, uint64_t done) {
  return Clamp32(total > done ? total - done : 0);
}

// A bar's range is a signed 32-bit number, so byte counts of 2 GiB or more
// reach it halved, positions with their range; the range would otherwise be
// negative and the bar stay empty through a large game's whole download.
// A count past the total shows as full, as the bar would show it, and never
// as a negative position.
uint32_t BarUnits(uint32_t total, uint32_t x) {
  if (x > total) x = total;
  return total > INT32_MAX ? x / 2 : x;
}

uint32_t StagedPosition(double x) {
  uint32_t p = ToU32(x);
  return p > kStagedRange ? kStagedRange : p;
}

}  // namespace

double MeterRatio(double a, double b) { return b == 0.0 ? 0.0 : a / b; }

void ProgressMeter::UpdateRate(uint32_t bytes, uint32_t now_ms) {
  uint32_t elapsed = now_ms - start_tick_;  // wraps like the tick count
  rate_ = ToU32(MeterRatio(bytes, elapsed / 1000.0));
}

void ProgressMeter::FillProgressText(uint32_t remaining, uint32_t bytes_done,
                                     MeterUpdate* update) const {
  update->text = MeterText::kProgress;
  update->bytes_done = bytes_done;
  update->rate = rate_;
  if (rate_ == 0) return;
  uint32_t seconds = ToU32(static_cast<double>(remaining) / rate_ + 0.5);
  update->has_time_left = true;
  if (seconds >= 60) {
    update->time_left = seconds / 60;
    update->time_unit = "min";
  } else {
    update->time_left = seconds;
    update->time_unit = "sec";
  }
}

void ProgressMeter::StartBatch(uint32_t total, uint32_t now_ms) {
  done_ = 0;
  total_ = total;
  start_tick_ = now_ms;
}

MeterUpdate ProgressMeter::StartTransfer(uint32_t total, uint32_t now_ms) {
  StartBatch(total, now_ms);
  MeterUpdate u;
  u.bar = Bar();
  u.set_range = true;
  u.range_max = BarUnits(total_, total_);
  u.position = BarUnits(total_, done_);
  return u;
}

MeterUpdate ProgressMeter::SetMode(bool named) {
  named_ = named;
  MeterUpdate u;
  u.bar = Bar();
  u.set_range = true;
  u.range_max = BarUnits(total_, total_);
  u.position = BarUnits(total_, done_);
  if (!named_) u.text = MeterText::kClear;
  return u;
}

MeterUpdate ProgressMeter::AddBytes(uint32_t n, uint32_t now_ms) {
  done_ += n;
  UpdateRate(done_, now_ms);
  MeterUpdate u;
  u.bar = Bar();
  u.position = BarUnits(total_, done_);
  // More bytes than announced (a server file larger than its list entry)
  // must not wrap the remaining count into hours of time left.
  if (!named_) FillProgressText(Remaining(total_, done_), done_, &u);
  return u;
}

MeterUpdate ProgressMeter::Reset(bool named) {
  named_ = named;
  MeterUpdate u;
  u.bar = Bar();
  u.set_range = true;
  u.range_max = kStagedRange;
  u.position = 0;
  if (!named_) u.text = MeterText::kClear;
  return u;
}

void ProgressMeter::StagedStart(uint32_t staged_total, uint32_t now_ms) {
  staged_total_ = staged_total;
  staged_current_ = 0;
  staged_completed_ = 0;
  staged_current_size_ = 0;
  downloaded_share_ = 0;
  extracted_share_ = 0;
  start_tick_ = now_ms;
}

void ProgressMeter::StagedNextFile(uint32_t size) {
  if (named_ || staged_total_ == 0) return;
  staged_current_ = 0;
  staged_current_size_ = size;
  current_weight_ = ToU32(MeterRatio(size, staged_total_) * 100);
}

MeterUpdate ProgressMeter::StagedAddBytes(uint32_t n, uint32_t now_ms) {
  staged_current_ += n;
  uint64_t so_far = uint64_t{staged_completed_} + staged_current_;
  UpdateRate(Clamp32(so_far), now_ms);
  MeterUpdate u;
  u.bar = Bar();
  if (named_) {
    u.position = StagedPosition(MeterRatio(staged_current_, staged_total_) * 50);
    return u;
  }
  u.position =
      StagedPosition(downloaded_share_ + extracted_share_ +
                     MeterRatio(staged_current_, staged_current_size_) * current_weight_ * 0.5);
  FillProgressText(Remaining(staged_total_, so_far), Clamp32(so_far), &u);
  return u;
}

void ProgressMeter::StagedFileDownloaded() {
  if (named_) return;
  staged_completed_ += staged_current_size_;
  downloaded_share_ = ToU32(MeterRatio(staged_completed_, staged_total_) * 50);
}

void ProgressMeter::StagedFileExtracted() {
  if (named_) return;
  extracted_share_ = ToU32(MeterRatio(staged_completed_, staged_total_) * 50);
}

MeterUpdate ProgressMeter::ExtractionProgress(uint32_t part, uint32_t whole) {
  MeterUpdate u;
  u.bar = Bar();
  if (named_) {
    u.position = StagedPosition(MeterRatio(part, whole) * 50 + 50);
    return u;
  }
  u.position = StagedPosition(downloaded_share_ + extracted_share_ +
                              MeterRatio(part, whole) * current_weight_ * 0.5);
  u.text = MeterText::kDecompressing;
  return u;
}

MeterUpdate ProgressMeter::StartMainBatch(uint32_t total, uint32_t now_ms) {
  StartBatch(total, now_ms);
  return SetMode(false);
}

MeterUpdate ProgressMeter::StartMainStaged(uint32_t staged_total, uint32_t now_ms) {
  StagedStart(staged_total, now_ms);
  return Reset(false);
}

}  // namespace ld
