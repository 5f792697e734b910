#include "starter/launch/starter_launch_string.h"

#include "starter/app/starter_app.h"

namespace ld {

LaunchStringClient& StarterLaunchStringClient() {
  static LaunchStringClient client([] {
    cStarterApp& app = cStarterApp::Get();
    LaunchStringParties parties;
    parties.record = &app.launch_record();
    parties.flags = &app.flags();
    parties.hosts = app.options().hosts;
    parties.plum = app.options().plum_hosts;
    parties.stop_requested = [&app] { return app.StopRequested(); };
    parties.kind_command_tail = app.kind_command_tail();
    return parties;
  }());
  return client;
}

}  // namespace ld
