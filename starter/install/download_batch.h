// The download batch of one package: every download item runs on a worker
// thread of its own, at most two at a time (two slots, each with its slot
// meter and bar "PROGRESS20" / "PROGRESS21"). A worker downloads the item's
// zip, removes the old file, has the zip unpacked into the target folder and
// deletes the zip.
//
// Ownership and threads: the installation driver thread builds a
// DownloadBatch (AddItem for every file to download), then calls Run, which
// dispatches and waits; afterwards it reads the items' flags (verification)
// and calls WaitForWorkers. The items, the counters, the events and the
// internet handle live in state shared with the workers, so a worker still
// finishing its last piece after a cancelled batch never outlives what it
// uses, even when the DownloadBatch object is gone. The batch shares the main
// meter of the application with both workers; the meter lock of
// progress_sink.h serialises their updates.
//
// Failures: a batch without an internet handle fails after logging code
// 0x160002 ("Internet Open Error") and showing the error box with that code;
// a cancelled batch answers false. A worker never retries; a failed item
// keeps downloaded == false or old_file_removed == false for the
// verification to find.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/update_list/update_list_records.h"
#include "starter/download/progress_sink.h"

namespace ld {

class cStarterApp;

struct DownloadItem {
  FileRecord* record = nullptr;  // the file record it serves (not owned)
  std::string remote_address;    // of the zip
  std::string zip_path;          // local path of the downloaded zip
  std::string final_path;        // where the unpacked file ends up
  std::string display_name;      // shown in "STC_FILENAME_DISP" when dispatched
  uint32_t expected_size = 0;    // compressed size from the update list
  std::string target_folder;     // the zip is unpacked here

  // Written by the worker; read once Run has returned (and, after a cancel,
  // once WaitForWorkers has answered true).
  bool downloaded = false;
  bool old_file_removed = false;
  int slot = -1;
  cStarterApp* owner = nullptr;
};

// Unpacks item.zip_path into item.target_folder (worker thread, both slots at
// once). `slot_meter` is the item's slot meter. True on success.
using ZipExtractor = std::function<bool(const DownloadItem& item, MeterControl& slot_meter)>;

class DownloadBatch {
 public:
  DownloadBatch();
  ~DownloadBatch();
  DownloadBatch(const DownloadBatch&) = delete;
  DownloadBatch& operator=(const DownloadBatch&) = delete;

  // Adds an item (driver thread, before Run) and counts it as pending.
  // Returns its index.
  std::size_t AddItem(DownloadItem item);
  std::size_t size() const;
  // Valid for the life of the batch; read the worker-written flags only as
  // the DownloadItem comment says.
  DownloadItem& item(std::size_t index);
  const DownloadItem& item(std::size_t index) const;

  // Unpacks each downloaded zip; without one the zip stays where it is and
  // the item counts as extracted. Set before Run.
  void set_extractor(ZipExtractor extractor);

  // Runs every item through the workers (driver thread). False when the stop
  // flag ended the dispatch or the wait, or when no internet handle could be
  // opened. An empty batch answers true at once. Run once per batch.
  bool Run(cStarterApp& app);

  // Waits up to `milliseconds` for the workers to stop after a cancelled
  // batch; true when none is running anymore. Nothing to wait for answers
  // true at once.
  bool WaitForWorkers(DWORD milliseconds);

  // Workers still running (tests, diagnostics).
  long running() const;
  // Items not yet finished by a worker.
  long pending() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

// Waits at most `milliseconds` for the workers of every batch of the process
// to end (the driver, at its end). True when none runs anymore.
bool WaitForDownloadWorkers(DWORD milliseconds);

}  // namespace ld
