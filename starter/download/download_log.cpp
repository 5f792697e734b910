#include "starter/download/download_log.h"

#include <atomic>

#include "starter/report/report_sender.h"
#include "starter/app/starter_app.h"

namespace ld {
namespace {

void ReportToService(std::uint32_t code, const char* text) {
  // The launch record's ids are written by the driver thread before any
  // download starts and stay put while workers run.
  const LaunchRecord& record = cStarterApp::Get().launch_record();
  Report(record.game_id, record.member_id, code, text);
}

std::atomic<DownloadLogHook> g_hook{nullptr};

}  // namespace

DownloadLogHook SetDownloadLogHook(DownloadLogHook hook) { return g_hook.exchange(hook); }

void LogDownloadEvent(std::uint32_t code, const std::string& text) {
  DownloadLogHook hook = g_hook.load();
  (hook != nullptr ? hook : &ReportToService)(code, text.c_str());
}

}  // namespace ld
