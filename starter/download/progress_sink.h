// The progress meters of the installation window as the downloads see them:
// a meter of the application object bound to its display, and the sink that
// carries display changes to the window's controls.
//
// The arithmetic lives in core/install/progress_meter.h; a MeterControl runs one
// operation on its meter and hands the resulting change to the current sink,
// both under one process-wide lock. That lock is what serialises the two
// download workers' updates of the main meter (and keeps a slot meter's
// display in step with its numbers). The installation window installs its
// sink when it exists; until then (and in tests) updates go to whatever sink
// is installed, or nowhere.
//
// Threads: the driver thread and the download workers call the meter
// operations. A sink must not call back into meter operations, and must not
// wait for another thread (the window's sink only posts).
#pragma once

#include <cstdint>
#include <string>

#include "core/install/progress_meter.h"

namespace ld {

class cStarterApp;

// Control names the meters drive.
inline constexpr char kMainBar[] = "PROGRESS1";
inline constexpr char kFileBar[] = "PROGRESS2";
inline constexpr char kSlotBar0[] = "PROGRESS20";
inline constexpr char kSlotBar1[] = "PROGRESS21";
inline constexpr char kTimeLeftText[] = "STC_LEFTTIME";
inline constexpr char kTransferRateText[] = "STC_NETWORKSPEED";
inline constexpr char kFileNameText[] = "STC_FILENAME_DISP";

// Receives display changes. Controls are named as in the window's control
// set; a control the sink does not know (or whose window is gone) is skipped
// silently. Called with the meter lock held, on the reporting thread.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // Range 0..maximum (PBM_SETRANGE32).
  virtual void SetBarRange(const char* bar, uint32_t maximum) = 0;
  // Position (PBM_SETPOS).
  virtual void SetBarPosition(const char* bar, uint32_t position) = 0;
  // Text (WM_SETTEXT); "" empties the control.
  virtual void SetText(const char* control, const std::string& text) = 0;
};

// Installs `sink` (not owned; it must outlive its use) and returns the
// previous one. Null means no display.
ProgressSink* SetProgressSink(ProgressSink* sink);

class ScopedProgressSink {
 public:
  explicit ScopedProgressSink(ProgressSink* sink) : previous_(SetProgressSink(sink)) {}
  ~ScopedProgressSink() { SetProgressSink(previous_); }
  ScopedProgressSink(const ScopedProgressSink&) = delete;
  ScopedProgressSink& operator=(const ScopedProgressSink&) = delete;

 private:
  ProgressSink* previous_;
};

// Shows `text` in a named text control through the sink (under the lock).
void ShowControlText(const char* control, const std::string& text);

// One meter with the bar it drives in named mode. Cheap to copy; the meter
// itself belongs to the application object. Times come from the system tick.
class MeterControl {
 public:
  // `named_bar` is the bar of named mode ("PROGRESS20" ...); the main mode
  // always drives "PROGRESS1" and its two texts.
  MeterControl(ProgressMeter* meter, const char* named_bar);

  // The application's meters.
  static MeterControl Main(cStarterApp& app);
  static MeterControl File(cStarterApp& app);
  static MeterControl Slot(cStarterApp& app, int slot);  // slot 0 or 1

  void StartBatch(uint32_t total);
  void StartTransfer(uint32_t total);
  void SetMode(bool named);
  void AddBytes(uint32_t n);
  void Reset(bool named);
  void StagedStart(uint32_t staged_total);
  void StagedNextFile(uint32_t size);
  void StagedAddBytes(uint32_t n);
  void StagedFileDownloaded();
  void StagedFileExtracted();
  void ExtractionProgress(uint32_t part, uint32_t whole);
  void StartMainBatch(uint32_t total);
  void StartMainStaged(uint32_t staged_total);

  ProgressMeter* meter() const { return meter_; }
  const char* named_bar() const { return named_bar_; }

 private:
  ProgressMeter* meter_;
  const char* named_bar_;
};

// The texts of a progress change, as the window shows them (ANSI code page):
// string 243 "%d %s [ %s done ]" with the time left, its unit and the bytes
// done (StrFormatByteSizeA), or "" while no rate exists; string 240
// "Transfer rate : %s/sec" with the rate.
std::string TimeLeftText(const MeterUpdate& update);
std::string TransferRateText(const MeterUpdate& update);

}  // namespace ld
