// ui_showcase: shows one of the starter's windows as a run would, for the
// screenshots. A stand-in driver thread builds the
// page through UWM_DRIVER_UI and fills it with sample progress.
//
//   ui_showcase logo|folder|download|message|run [kind] [test]
//
// "kind" turns on the support texts (game id, time, version, countdown),
// "test" the alpha-zone mark. The program ends when its window closes, or by
// itself after 120 s.
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "starter/resources/resource_ids.h"
#include "starter/app/starter_app.h"
#include "starter/platform/string_table.h"
#include "starter/ui/logo_window.h"
#include "starter/ui/main_window.h"
#include "starter/ui/message_loop.h"
#include "starter/ui/ui_send.h"

namespace {

std::string Format(unsigned id, const char* a, const char* b = "", int n = 0) {
  char text[260];
  // The program's own strings: %d first where a count is asked for.
  if (id == IDS_TIME_LEFT) {
    std::snprintf(text, sizeof text, ld::LoadText(id).c_str(), n, a, b);
  } else {
    std::snprintf(text, sizeof text, ld::LoadText(id).c_str(), a);
  }
  return text;
}

void Driver(ld::cMainWindow* window, int page) {
  using ld::DriverUiParam;
  ld::UiSend(window, ld::UWM_DRIVER_UI, 0x200E1, 0);  // string 225, the usual first page
  if (page == ld::kPageMessage) {
    ld::UiSend(window, ld::UWM_DRIVER_UI, 0x200E3, 0);
    return;
  }
  ld::UiSend(window, ld::UWM_DRIVER_UI,
             DriverUiParam(ld::kUiBuildPage, static_cast<uint16_t>(page)), 0);
  if (page == ld::kPageDownload) {
    ld::UiSend(window, ld::UWM_DRIVER_UI, 0x50001, 0);
    window->SetBarPosition("PROGRESS2", 64);
    window->SetBarPosition("PROGRESS1", 38);
    window->SetText("STC_FILENAME_DISP", "data\\maps\\forest.pak");
    window->SetText("STC_NETWORKSPEED", Format(IDS_TRANSFER_RATE, "980 KB"));
    window->SetText("STC_LEFTTIME",
                    Format(IDS_TIME_LEFT, ld::LoadText(IDS_UNIT_MINUTES).c_str(), "45.3 MB", 3));
  }
  if (page == ld::kPageRun) {
    window->DriverStartPanelTimer();
    window->DriverWaitForCountdown(ld::cStarterApp::Get());
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
  const std::string args = command_line != nullptr ? command_line : "";
  ld::SetProgramInstance(instance);
  ld::cStarterApp& app = ld::cStarterApp::Get();
  app.flags().kind_mode = args.find("kind") != std::string::npos;
  app.flags().test_zone = args.find("test") != std::string::npos;
  app.flags().current_game_id = "ludo";
  app.launch_record().game_id = "ludo";
  ::SetTimer(nullptr, 0, 120000, nullptr);  // the lifetime

  ld::cLogoWindow logo;
  ld::cMainWindow window(ld::DefaultMainWindowEnv(app));
  HWND shown = nullptr;
  if (args.rfind("logo", 0) == 0) {
    if (!logo.Build()) return 1;
    shown = logo.hwnd();
  } else {
    int page = ld::kPageInstallFolder;
    if (args.rfind("download", 0) == 0) page = ld::kPageDownload;
    if (args.rfind("message", 0) == 0) page = ld::kPageMessage;
    if (args.rfind("run", 0) == 0) page = ld::kPageRun;
    char title[260] = {};
    std::snprintf(title, sizeof title, ld::LoadText(IDS_WINDOW_TITLE_FORMAT).c_str(),
                  ld::LoadText(IDS_PRODUCT_NAME).c_str());
    if (!window.CreateInstallationWindow(title)) return 1;
    ld::SetMainWindow(&window);
    std::thread([&window, page] { Driver(&window, page); }).detach();  // ends with the process
    shown = window.hwnd();
  }
  const HACCEL keys = ld::LoadStarterAccelerators();
  MSG message;
  while (::IsWindow(shown) && ::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) break;
    if (keys != nullptr && ::TranslateAcceleratorA(shown, keys, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  app.driver_finished() = true;
  ::ExitProcess(0);
}
