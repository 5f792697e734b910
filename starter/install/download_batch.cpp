#include "starter/install/download_batch.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "core/install/download_rules.h"
#include "core/base/error_codes.h"
#include "starter/install/delete_with_report.h"
#include "starter/download/download_log.h"
#include "starter/download/downloader.h"
#include "starter/platform/folders.h"
#include "starter/net/internet_open.h"
#include "starter/report/message_boxes.h"
#include "starter/app/starter_app.h"
#include "starter/platform/win_handle.h"

namespace ld {

// Shared by the driver thread and the workers; the last of them to let go
// frees it, so a worker finishing after a cancelled batch still finds its
// item, its events and the internet handle.
struct DownloadBatch::State {
  std::vector<std::unique_ptr<DownloadItem>> items;  // fixed once Run starts
  ZipExtractor extractor;
  cStarterApp* app = nullptr;
  InternetHandle internet;  // released by Run once no worker can use it

  std::mutex slot_lock;  // guards slots
  KernelHandle slots[2];

  std::atomic<long> running{0};
  std::atomic<long> pending{0};

  // Auto-reset events: a slot was freed; the last pending item finished;
  // the last running worker ended.
  KernelHandle slot_freed{::CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  KernelHandle all_finished{::CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  KernelHandle workers_stopped{::CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  bool ran = false;
};

namespace {

constexpr DWORD kWaitStepMs = 200;
constexpr int kSlotCount = 2;

struct WorkerArgs {
  std::shared_ptr<DownloadBatch::State> state;
  std::size_t index;
};

// Steps 2 to 4 of a worker: download, remove the old file, unpack, delete
// the zip. Skipped when the user has already stopped.
void RunItem(DownloadBatch::State& state, DownloadItem& item) {
  cStarterApp& app = *state.app;
  if (app.StopRequested()) return;
  MeterControl slot_meter = MeterControl::Slot(app, item.slot);
  MeterControl main_meter = MeterControl::Main(app);
  item.downloaded =
      DownloadFile(state.internet.Get(), PackageDownloadBufferSize(item.expected_size),
                   item.zip_path, item.remote_address, &slot_meter, &main_meter, false);
  if (!item.downloaded) return;
  item.old_file_removed = DeleteWithReport(item.final_path, app.flags().kind_mode);
  if (!item.old_file_removed) return;
  if (!state.extractor) return;
  state.extractor(item, slot_meter);
  DeleteFileForced(item.zip_path);
}

// Counters and events after an item, whatever became of it.
void FinishItem(DownloadBatch::State& state, int slot) {
  const long left = --state.pending;
  if (!state.app->StopRequested()) {
    std::lock_guard<std::mutex> hold(state.slot_lock);
    state.slots[slot].Reset();
  }
  if (left == 0) ::SetEvent(state.all_finished.Get());
  ::SetEvent(state.slot_freed.Get());
}

// Workers of every batch of the process, for the driver's last wait: a batch
// the driver left after a stop may still have workers finishing a piece.
std::atomic<long> g_process_workers{0};

void EndWorker(DownloadBatch::State& state) {
  --g_process_workers;
  // Set whenever the last worker ends (not only after a stop), so waiting
  // for the workers of a finished batch does not sit out its whole time.
  if (--state.running == 0) ::SetEvent(state.workers_stopped.Get());
}

DWORD WINAPI WorkerMain(void* param) {
  std::unique_ptr<WorkerArgs> args(static_cast<WorkerArgs*>(param));
  DownloadBatch::State& state = *args->state;
  DownloadItem& item = *state.items[args->index];
  try {
    RunItem(state, item);
  } catch (...) {
    // Out of memory inside a download or an unpacking: the item stays
    // unfinished for the verification to find.
  }
  FinishItem(state, item.slot);
  EndWorker(state);
  return 0;
}

// A free slot, or -1.
int TakeFreeSlot(DownloadBatch::State& state) {
  std::lock_guard<std::mutex> hold(state.slot_lock);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (!state.slots[slot]) return slot;
  }
  return -1;
}

}  // namespace

DownloadBatch::DownloadBatch() : state_(std::make_shared<State>()) {}

DownloadBatch::~DownloadBatch() = default;

std::size_t DownloadBatch::AddItem(DownloadItem item) {
  state_->items.push_back(std::make_unique<DownloadItem>(std::move(item)));
  ++state_->pending;
  return state_->items.size() - 1;
}

std::size_t DownloadBatch::size() const { return state_->items.size(); }

DownloadItem& DownloadBatch::item(std::size_t index) { return *state_->items.at(index); }

const DownloadItem& DownloadBatch::item(std::size_t index) const {
  return *state_->items.at(index);
}

void DownloadBatch::set_extractor(ZipExtractor extractor) {
  state_->extractor = std::move(extractor);
}

long DownloadBatch::running() const { return state_->running.load(); }

long DownloadBatch::pending() const { return state_->pending.load(); }

namespace {

// Starts the worker of item `index` in the first free slot, waiting for one
// when both are busy. False when the stop flag ended the wait.
bool StartWorker(const std::shared_ptr<DownloadBatch::State>& shared, std::size_t index) {
  DownloadBatch::State& state = *shared;
  cStarterApp& app = *state.app;
  int slot = TakeFreeSlot(state);
  while (slot < 0) {
    // A worker that ends after a stop keeps its slot, so a wait without a
    // limit could outlast every worker; the stop flag ends it instead.
    if (app.StopRequested()) return false;
    ::WaitForSingleObject(state.slot_freed.Get(), kWaitStepMs);
    slot = TakeFreeSlot(state);
  }

  DownloadItem& item = *state.items[index];
  item.slot = slot;
  MeterControl slot_meter = MeterControl::Slot(app, slot);
  if (!slot_meter.meter()->named()) slot_meter.SetMode(true);
  slot_meter.StartTransfer(item.expected_size);

  ++state.running;
  ++g_process_workers;
  auto* args = new WorkerArgs{shared, index};
  HANDLE thread = ::CreateThread(nullptr, 0, WorkerMain, args, CREATE_SUSPENDED, nullptr);
  if (thread == nullptr) {
    // The item stays not downloaded; it must still count as finished, or the
    // batch would wait for it forever.
    delete args;
    if (--state.pending == 0) ::SetEvent(state.all_finished.Get());
    EndWorker(state);
    return true;
  }
  {
    std::lock_guard<std::mutex> hold(state.slot_lock);
    state.slots[slot].Reset(thread);
  }
  ::ResumeThread(thread);
  return true;
}

}  // namespace

bool DownloadBatch::Run(cStarterApp& app) {
  State& state = *state_;
  if (state.ran) return false;
  state.ran = true;
  state.app = &app;
  // Nothing would ever signal the all-finished event.
  if (state.items.empty()) return true;

  state.internet = OpenDownloadHandle();
  if (!state.internet) {
    const DWORD error = ::GetLastError();
    LogDownloadEvent(error_code::kPackageNoInternet, "Internet Open Error");
    ::SetLastError(error);
    ErrorBox(error_code::kPackageNoInternet);
    return false;
  }
  SetReceiveTimeout(state.internet.Get(), kPackageReceiveTimeoutMs);

  bool dispatched = true;
  for (std::size_t index = 0; index < state.items.size(); ++index) {
    if (app.StopRequested()) {
      dispatched = false;
      break;
    }
    DownloadItem& item = *state.items[index];
    ShowControlText(kFileNameText, item.display_name);
    item.owner = &app;
    if (!StartWorker(state_, index)) {
      dispatched = false;
      break;
    }
  }

  while (::WaitForSingleObject(state.all_finished.Get(), kWaitStepMs) == WAIT_TIMEOUT &&
         !app.StopRequested()) {
  }

  // Workers still busy after a stop keep the handle until the state goes.
  if (state.running.load() == 0) state.internet.Reset();
  // A stop during the final wait is a cancel as well: the items are not all
  // done and must not be taken for a finished batch.
  return dispatched && !app.StopRequested();
}

bool DownloadBatch::WaitForWorkers(DWORD milliseconds) {
  State& state = *state_;
  if (state.running.load() == 0) return true;
  ::WaitForSingleObject(state.workers_stopped.Get(), milliseconds);
  return state.running.load() == 0;
}

bool WaitForDownloadWorkers(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  while (g_process_workers.load() > 0) {
    if (::GetTickCount() - start >= milliseconds) return false;
    ::Sleep(10);
  }
  return true;
}

}  // namespace ld
