// Entry point of ldstarter: the command words, the self-update under the
// logo window (or the clone's hand-over), then the installation window and
// its message loop. Everything here runs on the main thread.
#include <windows.h>

#include <memory>
#include <string>

#include "core/base/error_codes.h"
#include "core/driver/startup_rules.h"
#include "core/launch/gamestring.h"
#include "core/launch/zone.h"
#include "core/settings/server_endpoints.h"
#include "starter/app/starter_app.h"
#include "starter/driver/installation_driver.h"
#include "starter/platform/process_launcher.h"
#include "starter/platform/string_table.h"
#include "starter/platform/system_libraries.h"
#include "starter/report/message_boxes.h"
#include "starter/report/report_sender.h"
#include "starter/report/reporting_state.h"
#include "starter/report/step_log_sender.h"
#include "starter/resources/resource_ids.h"
#include "starter/self_update/self_update.h"
#include "starter/startup/kind_commands.h"
#include "starter/startup/open_folder_commands.h"
#include "starter/startup/startup_messages.h"
#include "starter/startup/window_binding.h"
#include "starter/ui/c_window.h"
#include "starter/ui/logo_window.h"
#include "starter/ui/message_loop.h"

namespace ld {
namespace {

constexpr char kKoreanInstallKey[] = "Software\\Ludoria.Com\\KOREAN";

// The reporting module learns its hosts, the version the self-update read
// and the installation states; failed program starts go to the log.
void WireReporting(cStarterApp& app) {
  SetReportHosts(app.options().report_hosts);
  ReportFactHooks hooks;
  hooks.version_text = [&app] { return app.published_version_text(); };
  hooks.states = [&app](int* previous, int* current) {
    *previous = app.state_machine().previous();
    *current = app.state_machine().current();
  };
  SetReportFactHooks(std::move(hooks));
  SetLaunchFailureReporter([&app](std::uint32_t code, const std::string& text) {
    const LaunchRecord& record = app.launch_record();
    Report(record.game_id, record.member_id, code, text.c_str());
  });
}

// The command words; true when the program must end after them.
bool RunCommands(cStarterApp& app, const char* tail) {
  const CommandPlan plan = PlanCommands(CommandWords(tail));
  const std::string& folder = app.options().program_folder;
  if (plan.be_kind) RunBeKind(folder);
  if (plan.no_kind) RunNoKind(folder, app.flags().kind_mode);
  if (plan.open_korean) OpenInstallFolder(kKoreanInstallKey, "Home");
  if (plan.open_ludoria) OpenStarterDataFolder();
  return plan.any;
}

// Flags decided from the whole command line before any window exists.
void ReadCommandLineFlags(cStarterApp& app, const std::string& command_line) {
  ProgramFlags& flags = app.flags();
  flags.new_format = FormatOfCommandLine(command_line) == GamestringFormat::kNew;
  if (flags.kind_mode) {
    std::string game_id;
    if (flags.new_format) {
      game_id = NamedParameter(command_line, "P1");
      flags.current_game_id = game_id;
    } else if (PairValue(command_line, "k22e=", &game_id) != 0) {
      flags.current_game_id = game_id;
    }
  }
  flags.test_zone = IsTestZone(ZoneValue(command_line, flags.format()));
  flags.show_gamestring = flags.show_gamestring && flags.test_zone;
}

// The self-update under the logo window. True when a clone took over.
bool UpdateSelf(cStarterApp& app, const std::string& command_line) {
  cLogoWindow logo;
  logo.Build();
  const int result = CheckSelfUpdate(app, command_line);
  if (logo.hwnd() != nullptr) ::PostMessageA(logo.hwnd(), WM_CLOSE, 0, 0);
  if (result == kSelfUpdateCloneStarted) ReleaseSelfUpdateLock();
  logo.Destroy();
  return result == kSelfUpdateCloneStarted;
}

int RunStarter(HINSTANCE instance, const char* tail) {
  cStarterApp& app = cStarterApp::Get();
  app.Initialize(instance, tail);
  SetProgramInstance(instance);
  WireReporting(app);

  if (tail == nullptr || *tail == '\0') {
    const std::string text =
        LoadText(IDS_NO_COMMANDLINE) + "\n(" + PortalHomeAddress(app.options().hosts) + ")";
    ErrorBoxWithText(error_code::kNoCommandLine, text);
    return 0;
  }
  if (RunCommands(app, tail)) return 0;

  const std::string command_line = ::GetCommandLineA();
  ReadCommandLineFlags(app, command_line);
  app.state_machine().Apply(hs_event::kSelfUpdateCheckBegins);
  if (IsCloneRun(command_line)) {
    WaitForOldStarter();
    CopyCloneOverInstalledStarter();
  } else if (UpdateSelf(app, command_line)) {
    return 0;
  }
  app.state_machine().Apply(hs_event::kSelfUpdateCheckDone);

  const std::string title = StarterWindowTitle();
  // Never freed: the driver thread may still use both while the message
  // loop returns and the process ends.
  static StarterWindows windows;
  cMainWindow* window = new cMainWindow(StarterWindowEnv(app, &windows));
  windows.window = window;
  windows.view = new MainWindowDriverView(app, *window);
  if (!window->CreateInstallationWindow(title.c_str())) return 0;
  SetMainWindow(window);
  ::PostMessageA(window->hwnd(), UWM_START_INSTALLATION, 0, 0);
  const int exit_code = RunMessageLoop(window->hwnd(), LoadStarterAccelerators());
  // A cancel closes the window at once, with its step-log entry still on its
  // way, and the game start's reports leave just before the driver's end;
  // the end of the process would cut those requests off. Each kind of sender
  // gets as long as the driver gives its senders at its end.
  WaitForStepLogSenders(kDriverEndWaitMs);
  WaitForReportSenders(kDriverEndWaitMs);
  return exit_code;
}

}  // namespace
}  // namespace ld

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int) {
  ld::RestrictLibrarySearchToSystemFolder();
  try {
    return ld::RunStarter(instance, tail);
  } catch (...) {
    // Out of memory before the driver ran: nothing more can be shown.
    return 0;
  }
}
