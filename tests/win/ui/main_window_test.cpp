// The installation window driven as the installation driver drives it: the
// pages and their controls, the keys, the close question, the install folder
// checks and the countdown with a stepped clock.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "starter/resources/resource_ids.h"
#include "starter/resources/ui_resource_ids.h"
#include "starter/platform/string_table.h"
#include "tests/win/ui/main_window_fixture.h"
#include "tests/win/support/win_test_support.h"

namespace ld::test {
namespace {

struct Expected {
  const char* name;
  int id;
  RECT rect;
};

void ExpectControls(MainWindowTest* test, cMainWindow& window, const std::vector<Expected>& all) {
  for (const Expected& e : all) {
    cWindow* control = window.controls().Find(e.name);
    ASSERT_NE(control, nullptr) << e.name;
    ASSERT_NE(control->hwnd(), nullptr) << e.name;
    EXPECT_EQ(::GetDlgCtrlID(control->hwnd()), e.id) << e.name;
    EXPECT_TRUE(::IsWindowVisible(control->hwnd())) << e.name;
    RECT r = {};
    ::GetWindowRect(control->hwnd(), &r);
    ::MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(::EqualRect(&r, &e.rect))
        << e.name << " at " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
  EXPECT_EQ(window.controls().size(), all.size());
  (void)test;
}

DWORD WINAPI SleepForever(void*) { return ::SleepEx(INFINITE, TRUE); }

SIZE ClientSize(HWND window) {
  RECT r = {};
  ::GetClientRect(window, &r);
  return {r.right, r.bottom};
}

TEST_F(MainWindowTest, EachPageHasItsControlsInPlace) {
  EXPECT_FALSE(::IsWindowVisible(window_->hwnd()));  // hidden until the first page

  BuildPage(kPageMessage);
  EXPECT_EQ(window_->layout(), kLayoutSmall);
  EXPECT_EQ(ClientSize(window_->hwnd()).cx, 247);
  EXPECT_EQ(ClientSize(window_->hwnd()).cy, 86);
  EXPECT_TRUE(::IsWindowVisible(window_->hwnd()));
  EXPECT_EQ(::GetWindowLongA(window_->hwnd(), GWL_STYLE) & WS_CAPTION, 0);
  ExpectControls(this, *window_,
                 {{"MSG1", 4112, {10, 64, 182, 79}}, {"BTN_CANCEL", 4113, {187, 60, 239, 80}}});

  BuildPage(kPageInstallFolder);
  EXPECT_EQ(window_->layout(), kLayoutLarge);
  EXPECT_EQ(ClientSize(window_->hwnd()).cx, 780);
  EXPECT_EQ(ClientSize(window_->hwnd()).cy, 380);
  ExpectControls(this, *window_,
                 {{"BTN_MINIMIZE", 4163, {727, 7, 747, 25}},
                  {"BTN_CLOSE", 4164, {750, 7, 770, 25}},
                  {"EDT_PATH", 4117, {435, 224, 690, 245}},
                  {"BTN_SELECT_DIR", 4118, {695, 224, 751, 245}},
                  {"CHK_LUDORIAFLASHINST", 4120, {435, 255, 756, 269}},
                  {"BTN_STARTINSTALL", 4122, {521, 325, 671, 361}}});
  HWND check = window_->controls().Find("CHK_LUDORIAFLASHINST")->hwnd();
  EXPECT_EQ(::SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(window_->controls().Find("CHK_LUDORIAFLASHINST")->Text(),
            LoadText(IDS_CREATE_SHORTCUT));
  EXPECT_TRUE(cStarterApp::Get().install_folder_settings().folder_page_shown);
  // The web panels exist from the first large page on, hidden while not loaded.
  ASSERT_NE(window_->advertisement_panel(), nullptr);
  HWND advert = window_->advertisement_panel()->hwnd();
  ASSERT_NE(advert, nullptr);
  EXPECT_EQ(::GetDlgCtrlID(advert), 4165);
  EXPECT_FALSE(::IsWindowVisible(advert));

  BuildPage(kPageDownload);
  ExpectControls(this, *window_,
                 {{"BTN_MINIMIZE", 4163, {727, 7, 747, 25}},
                  {"BTN_CLOSE", 4164, {750, 7, 770, 25}},
                  {"PROGRESS2", 4115, {439, 214, 754, 225}},
                  {"STC_FILENAME_DISP", 4116, {439, 228, 595, 241}},
                  {"STC_NETWORKSPEED", 4117, {598, 228, 754, 241}},
                  {"PROGRESS1", 4118, {439, 246, 754, 257}},
                  {"STC_FIX_MESSAGE", 4167, {439, 260, 595, 273}},
                  {"STC_LEFTTIME", 4120, {598, 260, 754, 273}},
                  {"BTN_CANCEL", 4121, {521, 310, 671, 346}}});
  EXPECT_EQ(window_->advertisement_panel()->hwnd(), advert);  // kept across pages

  BuildPage(kPageRun);
  ExpectControls(this, *window_,
                 {{"BTN_MINIMIZE", 4163, {727, 7, 747, 25}},
                  {"BTN_CLOSE", 4164, {750, 7, 770, 25}},
                  {"STC_MESSAGE", 4115, {439, 232, 754, 245}},
                  {"BTN_CANCEL", 4116, {521, 310, 671, 346}}});
  EXPECT_EQ(window_->controls().Find("STC_MESSAGE")->Text(), LoadText(IDS_PREPARING_TO_RUN));
}

TEST_F(MainWindowTest, DriverCommandsChangeTextsAndBars) {
  RunDriver([](cMainWindow* w) {
    UiSend(w, UWM_DRIVER_UI, 0x200E1, 0);  // string 225 on the message page
  });
  EXPECT_EQ(window_->page(), kPageMessage);
  EXPECT_EQ(window_->controls().Find("MSG1")->Text(), LoadText(IDS_STEP_CONNECTING));

  BuildPage(kPageDownload);
  // The meters report through the window's sink from their own threads and
  // must never wait for the window: here it handles no message meanwhile.
  std::thread meters([w = window_.get()] {
    for (uint32_t i = 0; i < 2000; ++i) {
      w->SetBarRange("PROGRESS1", 1000 + i % 2);
      w->SetBarPosition("PROGRESS1", i % 1000);
      w->SetText("STC_LEFTTIME", std::to_string(i));
    }
    w->SetBarRange("PROGRESS1", 1000);
    w->SetBarPosition("PROGRESS1", 250);
    w->SetText("STC_LEFTTIME", "3 min");
  });
  meters.join();
  // A driver's send comes after every change made before it.
  RunDriver([](cMainWindow* w) { UiSend(w, UWM_DRIVER_UI, 0x50001, 0); });
  EXPECT_EQ(window_->controls().Find("STC_FIX_MESSAGE")->Text(),
            LoadText(IDS_DOWNLOADING_SETUP_FILES));
  HWND main_bar = window_->controls().Find("PROGRESS1")->hwnd();
  EXPECT_EQ(::SendMessageA(main_bar, PBM_GETPOS, 0, 0), 250);
  EXPECT_EQ(::SendMessageA(main_bar, PBM_GETRANGE, FALSE, 0), 1000);
  EXPECT_EQ(window_->controls().Find("STC_LEFTTIME")->Text(), "3 min");

  RunDriver([](cMainWindow* w) { UiSend(w, UWM_DRIVER_UI, 0x30001, 0); });
  EXPECT_FALSE(::IsWindowVisible(window_->controls().Find("PROGRESS2")->hwnd()));
  EXPECT_TRUE(::IsWindowVisible(window_->controls().Find("PROGRESS20")->hwnd()));
  EXPECT_TRUE(::IsWindowVisible(window_->controls().Find("PROGRESS21")->hwnd()));
  EXPECT_EQ(ControlRect("PROGRESS21").top, 219);
  EXPECT_EQ(window_->controls().Find("STC_FIX_MESSAGE")->Text(),
            LoadText(IDS_DOWNLOADING_GAME_FILES));
  RunDriver([](cMainWindow* w) { UiSend(w, UWM_DRIVER_UI, 0x50000, 0); });
  EXPECT_EQ(window_->controls().Find("STC_FIX_MESSAGE")->Text(), "");

  // Once the window is gone the driver's sends do nothing.
  HWND gone = window_->hwnd();
  ::DestroyWindow(gone);
  RunDriver([](cMainWindow* w) { EXPECT_EQ(UiSend(w, UWM_DRIVER_UI, 0x200E2, 0), 0); });
}

TEST_F(MainWindowTest, EnterStartsOnlyOnTheFolderPage) {
  ScratchFolder scratch;
  BuildPage(kPageInstallFolder);
  const std::string target = scratch.Sub("Games\\Ludoria");
  window_->controls().Find("EDT_PATH")->SetText(target.c_str());
  Press(VK_RETURN);
  EXPECT_EQ(wakes_, 1);
  EXPECT_TRUE(presenter_.boxes.empty());
  EXPECT_EQ(cStarterApp::Get().install_folder_settings().install_root(), target);
  EXPECT_NE(::GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);

  BuildPage(kPageDownload);
  Press(VK_RETURN);
  EXPECT_EQ(wakes_, 1);
  EXPECT_TRUE(presenter_.boxes.empty());
}

TEST_F(MainWindowTest, ControlXUnchecksTheShortcut) {
  BuildPage(kPageInstallFolder);
  EXPECT_EQ(cStarterApp::Get().install_folder_settings().create_desktop_shortcut, 1u);
  ::SendMessageA(window_->hwnd(), WM_COMMAND, MAKEWPARAM(ID_ACCEL_NO_SHORTCUT, 1), 0);
  EXPECT_EQ(cStarterApp::Get().install_folder_settings().create_desktop_shortcut, 0u);
  HWND check = window_->controls().Find("CHK_LUDORIAFLASHINST")->hwnd();
  EXPECT_EQ(::SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  // A click checks it again.
  ::SendMessageA(window_->hwnd(), WM_COMMAND, MAKEWPARAM(4120, BN_CLICKED),
                 reinterpret_cast<LPARAM>(check));
  EXPECT_EQ(::SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(cStarterApp::Get().install_folder_settings().create_desktop_shortcut, 1u);
}

TEST_F(MainWindowTest, EscapeAsksAndOnlyYesStops) {
  BuildPage(kPageDownload);
  // A stand-in driver thread, held while the question is up.
  HANDLE stand_in = ::CreateThread(nullptr, 0, SleepForever, nullptr, 0, nullptr);
  ASSERT_NE(stand_in, nullptr);
  HANDLE driver = nullptr;
  ::DuplicateHandle(::GetCurrentProcess(), stand_in, ::GetCurrentProcess(), &driver, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
  window_->SetDriverThread(KernelHandle(driver));
  DWORD suspended_during_box = 0;
  presenter_.on_show = [&] {
    suspended_during_box = ::SuspendThread(stand_in);  // the count before this call
    ::ResumeThread(stand_in);
  };
  presenter_.answer = IDNO;
  Press(VK_ESCAPE);
  presenter_.on_show = nullptr;
  EXPECT_EQ(suspended_during_box, 1u);
  EXPECT_EQ(::SuspendThread(stand_in), 0u);  // resumed after the answer
  ::ResumeThread(stand_in);
  ::TerminateThread(stand_in, 0);
  ::CloseHandle(stand_in);
  ASSERT_EQ(presenter_.boxes.size(), 1u);
  EXPECT_EQ(presenter_.boxes[0].text, LoadText(IDS_ASK_STOP_INSTALLATION));
  EXPECT_EQ(presenter_.boxes[0].caption, LoadText(IDS_CAPTION));
  EXPECT_EQ(presenter_.boxes[0].owner, window_->hwnd());
  EXPECT_EQ(presenter_.boxes[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_TRUE(::IsWindow(window_->hwnd()));
  EXPECT_EQ(stops_, 0);

  presenter_.answer = IDYES;
  HWND window = window_->hwnd();
  ::PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
  bool quit = false;
  for (int i = 0; i < 10 && !quit; ++i) quit = !Pump();
  EXPECT_TRUE(quit);  // the destroyed window ends the message loop
  EXPECT_EQ(presenter_.boxes.size(), 2u);
  EXPECT_EQ(stops_, 1);
  EXPECT_TRUE(cStarterApp::Get().StopRequested());
  EXPECT_FALSE(::IsWindow(window));
}

TEST_F(MainWindowTest, CloseAfterTheDriverFinishedAsksNothing) {
  BuildPage(kPageRun);
  cStarterApp::Get().driver_finished() = true;
  HWND window = window_->hwnd();
  ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(4164, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window_->controls().Find("BTN_CLOSE")->hwnd()));
  for (int i = 0; i < 5 && Pump(); ++i) {
  }
  EXPECT_TRUE(presenter_.boxes.empty());
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(stops_, 0);
}

TEST_F(MainWindowTest, InvalidPathsAreRefusedWithTheirBoxes) {
  BuildPage(kPageInstallFolder);
  struct Case {
    const char* path;
    bool refused;
  } cases[] = {{"C:Games", true}, {"Q:\\Ludoria", true}, {"Ludoria", true}, {"C:", false}};
  for (const Case& c : cases) {
    presenter_.boxes.clear();
    wakes_ = 0;
    window_->controls().Find("EDT_PATH")->SetText(c.path);
    window_->StartInstall();
    if (c.refused) {
      ASSERT_EQ(presenter_.boxes.size(), 1u) << c.path;
      EXPECT_EQ(presenter_.boxes[0].text,
                LoadText(IDS_INVALID_PATH) + "\n" + c.path + "\n" + LoadText(IDS_INPUT_VALID_PATH));
      EXPECT_EQ(presenter_.boxes[0].style, static_cast<UINT>(MB_ICONINFORMATION));
      EXPECT_EQ(wakes_, 0) << c.path;
    } else {
      EXPECT_TRUE(presenter_.boxes.empty()) << c.path;
      EXPECT_EQ(wakes_, 1) << c.path;
    }
  }
  EXPECT_EQ(window_->page(), kPageInstallFolder);
}

class SystemFolderTest : public MainWindowTest {
  void Configure(MainWindowEnv& env) override {
    env.refuse_system_folders = [] { return true; };
    env.windows_folder = "C:\\windows";
    env.program_files_folder = "C:\\Program Files";
  }
};

TEST_F(SystemFolderTest, SystemFoldersAreRefusedWhereTheSystemForbidsThem) {
  BuildPage(kPageInstallFolder);
  for (const char* path : {"C:\\Windows\\Games", "c:\\program files\\Ludoria\\"}) {
    presenter_.boxes.clear();
    window_->controls().Find("EDT_PATH")->SetText(path);
    window_->StartInstall();
    ASSERT_EQ(presenter_.boxes.size(), 1u) << path;
    EXPECT_EQ(presenter_.boxes[0].text, LoadText(IDS_NO_SYSTEM_FOLDER));
  }
  EXPECT_EQ(wakes_, 0);
}

TEST_F(MainWindowTest, CountdownWithoutPanelStartsAfterThreeSeconds) {
  BuildPage(kPageRun);
  EXPECT_EQ(window_->countdown().state(), CountdownState::kArmed);
  EXPECT_EQ(window_->CountdownLeft(), 7000);
  EXPECT_FALSE(window_->CheckPanels());  // first check at 100000
  now_ += 2999;
  window_->CheckPanels();
  EXPECT_EQ(window_->countdown().state(), CountdownState::kArmed);
  now_ += 1;
  window_->CheckPanels();
  EXPECT_EQ(window_->countdown().state(), CountdownState::kRunning);
  now_ += 6000;
  EXPECT_EQ(window_->CountdownLeft(), 1000);
  now_ += 1500;
  EXPECT_EQ(window_->CountdownLeft(), -500);
}

TEST_F(MainWindowTest, LoadedPanelsShowStartTheShortCountdownAndStopTheTimer) {
  BuildPage(kPageRun);
  RunDriver([](cMainWindow* w) { w->DriverStartPanelTimer(); });
  advert_loaded_ = true;
  now_ += 1000;
  ::SendMessageA(window_->hwnd(), WM_TIMER, kPanelTimer, 0);
  EXPECT_TRUE(::IsWindowVisible(window_->advertisement_panel()->hwnd()));
  EXPECT_FALSE(::IsWindowVisible(window_->rating_panel()->hwnd()));
  EXPECT_EQ(window_->countdown().state(), CountdownState::kRunning);
  EXPECT_NE(::KillTimer(window_->hwnd(), kPanelTimer), FALSE);  // still checking
  ::SetTimer(window_->hwnd(), kPanelTimer, kPanelTimerMs, nullptr);

  rating_loaded_ = true;
  ::SendMessageA(window_->hwnd(), WM_TIMER, kPanelTimer, 0);
  EXPECT_TRUE(::IsWindowVisible(window_->rating_panel()->hwnd()));
  EXPECT_EQ(::KillTimer(window_->hwnd(), kPanelTimer), FALSE);  // stopped itself

  // The panel was loaded when the countdown started: 5000 ms from then.
  EXPECT_EQ(window_->CountdownLeft(), 5000);
  EXPECT_TRUE(window_->countdown().shortened());
  now_ += 5000;
  EXPECT_EQ(window_->CountdownLeft(), 0);
}

TEST_F(MainWindowTest, DriverWaitsForTheCountdownThenFinishesIt) {
  cStarterApp::Get().flags().kind_mode = true;
  BuildPage(kPageRun);
  ASSERT_NE(window_->controls().Find("STC_COUNTER"), nullptr);
  now_ += kPanelFallbackMs;
  window_->CheckPanels();  // starts the 7000 ms countdown
  std::string shown;
  RunDriver([](cMainWindow* w) { w->DriverWaitForCountdown(cStarterApp::Get()); },
            [&] {
              now_ += 100;
              const std::string text = window_->controls().Find("STC_COUNTER")->Text();
              if (!text.empty() && shown.empty()) shown = text;
            });
  EXPECT_EQ(shown, "5");  // shown from five seconds down
  EXPECT_EQ(window_->countdown().state(), CountdownState::kFinished);
  EXPECT_FALSE(window_->waiting());
  EXPECT_EQ(window_->controls().Find("STC_COUNTER")->Text(), "");
  EXPECT_GE(now_.load(), 100000u + kPanelFallbackMs + 7000u);
}

TEST_F(MainWindowTest, StopEndsTheDriversWaitForTheStartButton) {
  BuildPage(kPageInstallFolder);
  cStarterApp::Get().RequestStop();
  RunDriver([](cMainWindow* w) { WaitForUser(cStarterApp::Get(), w, false); });
}

}  // namespace
}  // namespace ld::test
