#include "starter/download/progress_sink.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <mutex>

#include "starter/app/starter_app.h"
#include "starter/platform/string_table.h"

namespace ld {
namespace {

// One lock for every meter: the main meter takes bytes from both workers,
// and a display change must reach the window in the order the numbers
// changed.
std::mutex& MeterLock() {
  static std::mutex* lock = new std::mutex;  // outlives late workers at exit
  return *lock;
}

ProgressSink* g_sink = nullptr;  // guarded by MeterLock()

std::string ByteSizeText(uint32_t bytes) {
  char text[64] = {};
  ::StrFormatByteSizeA(bytes, text, sizeof text);
  return text;
}

// The texts are the program's own string table entries, so their
// conversions are known to match the arguments.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
#endif
std::string FormatTimeLeft(const std::string& format, uint32_t time_left, const char* unit,
                           const std::string& done) {
  char text[260] = {};
  std::snprintf(text, sizeof text, format.c_str(), static_cast<int>(time_left), unit, done.c_str());
  return text;
}

std::string FormatRate(const std::string& format, const std::string& rate) {
  char text[260] = {};
  std::snprintf(text, sizeof text, format.c_str(), rate.c_str());
  return text;
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

void Apply(const MeterUpdate& update, const char* named_bar) {
  ProgressSink* sink = g_sink;
  if (sink == nullptr) return;
  const char* bar = nullptr;
  if (update.bar == MeterBar::kMain) bar = kMainBar;
  if (update.bar == MeterBar::kNamed) bar = named_bar;
  if (bar != nullptr) {
    if (update.set_range) sink->SetBarRange(bar, update.range_max);
    sink->SetBarPosition(bar, update.position);
  }
  switch (update.text) {
    case MeterText::kUnchanged:
      break;
    case MeterText::kClear:
      sink->SetText(kTimeLeftText, "");
      sink->SetText(kTransferRateText, "");
      break;
    case MeterText::kProgress:
      sink->SetText(kTimeLeftText, TimeLeftText(update));
      sink->SetText(kTransferRateText, TransferRateText(update));
      break;
    case MeterText::kDecompressing:
      sink->SetText(kTimeLeftText, LoadText(IDS_DECOMPRESSING));
      break;
  }
}

}  // namespace

ProgressSink* SetProgressSink(ProgressSink* sink) {
  std::lock_guard<std::mutex> hold(MeterLock());
  ProgressSink* previous = g_sink;
  g_sink = sink;
  return previous;
}

void ShowControlText(const char* control, const std::string& text) {
  std::lock_guard<std::mutex> hold(MeterLock());
  if (g_sink != nullptr) g_sink->SetText(control, text);
}

std::string TimeLeftText(const MeterUpdate& update) {
  if (!update.has_time_left) return std::string();
  return FormatTimeLeft(LoadText(IDS_TIME_LEFT), update.time_left, update.time_unit,
                        ByteSizeText(update.bytes_done));
}

std::string TransferRateText(const MeterUpdate& update) {
  return FormatRate(LoadText(IDS_TRANSFER_RATE), ByteSizeText(update.rate));
}

MeterControl::MeterControl(ProgressMeter* meter, const char* named_bar)
    : meter_(meter), named_bar_(named_bar) {}

MeterControl MeterControl::Main(cStarterApp& app) { return {&app.main_meter(), kMainBar}; }
MeterControl MeterControl::File(cStarterApp& app) { return {&app.file_meter(), kFileBar}; }
MeterControl MeterControl::Slot(cStarterApp& app, int slot) {
  return {&app.slot_meter(slot), slot == 0 ? kSlotBar0 : kSlotBar1};
}

void MeterControl::StartBatch(uint32_t total) {
  std::lock_guard<std::mutex> hold(MeterLock());
  meter_->StartBatch(total, ::GetTickCount());
}

void MeterControl::StartTransfer(uint32_t total) {
  std::lock_guard<std::mutex> hold(MeterLock());
  Apply(meter_->StartTransfer(total, ::GetTickCount()), named_bar_);
}

void MeterControl::SetMode(bool named) {
  std::lock_guard<std::mutex> hold(MeterLock());
  Apply(meter_->SetMode(named), named_bar_);
}

void MeterControl::AddBytes(uint32_t n) {
  std::lock_guard<std::mutex> hold(MeterLock());
  Apply(meter_->AddBytes(n, ::GetTickCount()), named_bar_);
}

void MeterControl::Reset(bool named) {
  std::lock_guard<std::mutex> hold(MeterLock());
  Apply(meter_->Reset(named), named_bar_);
}

void MeterControl::StagedStart(uint32_t staged_total) {
  std::lock_guard<std::mutex> hold(MeterLock());
  meter_->StagedStart(staged_total, ::GetTickCount());
}

void MeterControl::StagedNextFile(uint32_t size) {
  std::lock_guard<std::mutex> hold(MeterLock());
  meter_->StagedNextFile(size);
}

void MeterControl::StagedAddBytes(uint32_t n) {
  std::lock_guard<std::mutex> hold(MeterLock());
  Apply(meter_->StagedAddBytes(n, ::GetTickCount()), named_bar_);
}

void MeterControl::StagedFileDownloaded() {
  std::lock_guard<std::mutex> hold(MeterLock());
  meter_->StagedFileDownloaded();
}

void MeterControl::StagedFileExtracted() {
  std::lock_guard<std::mutex> hold(MeterLock());
  meter_->StagedFileExtracted();
}

void MeterControl::ExtractionProgress(uint32_t part, uint32_t whole) {
  std::lock_guard<std::mutex> hold(MeterLock());
  Apply(meter_->ExtractionProgress(part, whole), named_bar_);
}

void MeterControl::StartMainBatch(uint32_t total) {
  std::lock_guard<std::mutex> hold(MeterLock());
  Apply(meter_->StartMainBatch(total, ::GetTickCount()), named_bar_);
}

void MeterControl::StartMainStaged(uint32_t staged_total) {
  std::lock_guard<std::mutex> hold(MeterLock());
  Apply(meter_->StartMainStaged(staged_total, ::GetTickCount()), named_bar_);
}

}  // namespace ld
