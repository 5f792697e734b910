#include "starter/app/starter_app.h"

#include <utility>

#include "starter/platform/string_table.h"
#include "starter/report/message_boxes.h"

namespace ld {

cStarterApp& cStarterApp::Get() {
  // Never destroyed: when the window closes on a cancel the message loop
  // returns while the driver and the download workers still run, and a
  // static would be torn down by the runtime's exit under them.
  static cStarterApp* app = new cStarterApp;
  return *app;
}

cStarterApp::cStarterApp() {
  // The boxes sit below the application object; they learn where to record
  // an error box here.
  SetErrorBoxFlag(&flags_.error_box_shown);
}

void cStarterApp::Initialize(HINSTANCE instance, const char* command_tail) {
  flags_.start_tick = ::GetTickCount();
  options_ = ReadStarterOptions(ProgramFolderOf(ProgramPath()));
  ApplyStartupOptions(options_, &flags_);
  if (flags_.kind_mode && command_tail != nullptr) kind_command_tail_ = command_tail;
  instance_ = instance;
  if (instance != nullptr) SetStringModule(instance);
}

HANDLE cStarterApp::WakeEvent() {
  std::lock_guard<std::mutex> lock(wake_event_lock_);
  if (!wake_event_) wake_event_.Reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
  return wake_event_.Get();
}

void cStarterApp::Wake() {
  HANDLE event = WakeEvent();
  if (event != nullptr) ::SetEvent(event);
}

void cStarterApp::PassDriverHold() const {
  // Without an event there is nothing to hold the driver with.
  if (driver_go_) ::WaitForSingleObject(driver_go_.Get(), INFINITE);
}

void cStarterApp::PublishReportIds() {
  ReportIds ids{launch_record_.game_id, launch_record_.member_id, launch_record_.executor};
  std::lock_guard<std::mutex> lock(report_ids_lock_);
  report_ids_ = std::move(ids);
}

cStarterApp::ReportIds cStarterApp::report_ids() const {
  std::lock_guard<std::mutex> lock(report_ids_lock_);
  return report_ids_;
}

void cStarterApp::CloseWakeEvent() {
  std::lock_guard<std::mutex> lock(wake_event_lock_);
  wake_event_.Reset();
}

void ApplyStartupOptions(const StarterOptions& options, ProgramFlags* flags) {
  flags->kind_mode = options.KindMode();
  flags->show_gamestring = options.show_gamestring_in_alpha != 0;
}

}  // namespace ld
