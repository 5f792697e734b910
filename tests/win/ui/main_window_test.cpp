// The installation window driven as the installation driver drives it, on
// the test's thread with boxes answered by the test and a stand-in driver
// thread: what the end-to-end runs cannot see (the driver held during the
// close question, meters that never wait for the window, refused folders).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "starter/app/starter_app.h"
#include "starter/platform/folders.h"
#include "starter/platform/string_table.h"
#include "starter/resources/resource_ids.h"
#include "starter/resources/ui_resource_ids.h"
#include "starter/ui/main_window.h"
#include "starter/ui/message_loop.h"
#include "starter/ui/ui_send.h"
#include "tests/win/support/win_test_support.h"

namespace ld::test {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cStarterApp& app = cStarterApp::Get();
    app.driver_finished() = false;
    app.flags().kind_mode = false;
    MainWindowEnv env = DefaultMainWindowEnv(app);
    env.stop = [this] { ++stops_; };
    env.wake = [this] { ++wakes_; };
    env.refuse_system_folders = [this] { return refuse_system_folders_; };
    env.windows_folder = "C:\\windows";
    env.program_files_folder = "C:\\Program Files";
    // The panels stay blank: a navigation still in flight when a test's
    // window goes would complete into a browser Wine has already freed.
    env.panel_address = nullptr;
    window_ = std::make_unique<cMainWindow>(env);
    ASSERT_TRUE(window_->CreateInstallationWindow("Ludoria Setup Wizard"));
    accelerators_ = LoadStarterAccelerators();
  }

  void TearDown() override {
    window_.reset();
    Pump();
  }

  // Handles what is queued (returns false after the quit message).
  bool Pump() { return PumpMessages(window_ ? window_->hwnd() : nullptr, accelerators_); }

  // Runs `driver` on its own thread while this thread keeps the window's
  // messages moving; fails the test when the driver takes over 10 s.
  void RunDriver(const std::function<void(cMainWindow*)>& driver) {
    std::atomic<bool> done{false};
    std::thread thread([&, window = window_.get()] {
      driver(window);
      done = true;
    });
    for (const DWORD start = ::GetTickCount(); !done && ::GetTickCount() - start < 10000;) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      Pump();
    }
    EXPECT_TRUE(done) << "the stand-in driver did not finish";
    thread.join();
  }
  void Send(WPARAM command) {
    RunDriver([command](cMainWindow* w) { UiSend(w, UWM_DRIVER_UI, command, 0); });
  }
  void BuildPage(int page) { Send(DriverUiParam(kUiBuildPage, static_cast<std::uint16_t>(page))); }

  std::unique_ptr<cMainWindow> window_;
  RecordingPresenter presenter_{IDNO};
  HACCEL accelerators_ = nullptr;
  std::atomic<int> stops_{0};
  int wakes_ = 0;
  bool refuse_system_folders_ = false;
  ScopedBoxPresenter presenter_scope_{&presenter_};
};

TEST_F(MainWindowTest, EscapeAsksWithTheDriverHeldAndOnlyYesStops) {
  BuildPage(kPageDownload);
  // A driver that reaches a UI send or a stop check while the question shows
  // waits there until the answer, and then sees it.
  for (const int answer : {IDNO, IDYES}) {
    presenter_.answer = answer;
    std::atomic<bool> passed{false};
    std::atomic<int> stops_seen{-1};
    bool held_during_box = false;
    std::thread driver;
    presenter_.on_show = [&] {
      driver = std::thread([&] {
        cStarterApp::Get().PassDriverHold();
        stops_seen = stops_.load();
        passed = true;
      });
      ::Sleep(200);
      held_during_box = !passed;
    };
    ::PostMessageA(window_->hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    Pump();
    presenter_.on_show = nullptr;
    driver.join();
    EXPECT_TRUE(held_during_box) << answer;
    EXPECT_EQ(stops_seen, answer == IDYES ? 1 : 0) << answer;
  }
  ASSERT_EQ(presenter_.boxes.size(), 2u);
  EXPECT_EQ(presenter_.boxes[0].text, LoadText(IDS_ASK_STOP_INSTALLATION));
  EXPECT_EQ(stops_, 1);  // only Yes stops; the window then closes
}

TEST_F(MainWindowTest, MetersNeverWaitAndTheDriversNextSendShowsTheirLatest) {
  BuildPage(kPageDownload);
  // The window handles no message while the meters run on their thread.
  std::thread([w = window_.get()] {
    for (uint32_t i = 0; i < 2000; ++i) {
      w->SetBarRange("PROGRESS1", 1000 + i % 2);
      w->SetBarPosition("PROGRESS1", i % 1000);
      w->SetText("STC_LEFTTIME", std::to_string(i));
    }
    w->SetBarRange("PROGRESS1", 1000);
    w->SetBarPosition("PROGRESS1", 250);
    w->SetText("STC_LEFTTIME", "3 min");
  }).join();
  Send(0x50001);
  EXPECT_EQ(window_->controls().Find("STC_FIX_MESSAGE")->Text(),
            LoadText(IDS_DOWNLOADING_SETUP_FILES));
  HWND bar = window_->controls().Find("PROGRESS1")->hwnd();
  EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 250);
  EXPECT_EQ(window_->controls().Find("STC_LEFTTIME")->Text(), "3 min");
}

}  // namespace
}  // namespace ld::test

namespace ld {
struct MainWindowLockProbe {
  static std::mutex& Lock(cMainWindow& window) { return window.progress_lock_; }
};
}  // namespace ld

namespace ld::test {
namespace {

// The window's thread never waits for the progress lock the reporting
// threads take; a busy lock leaves the show to the progress timer.
TEST_F(MainWindowTest, ProgressShowsLaterInsteadOfWaitingForAHeldLock) {
  BuildPage(kPageDownload);
  window_->SetText("STC_LEFTTIME", "3 min");
  std::atomic<bool> held{false}, release{false};
  std::thread driver([&] {
    std::lock_guard<std::mutex> hold(MainWindowLockProbe::Lock(*window_));
    held = true;
    // Let go after 3 s anyway, so that a window that waits fails the test
    // instead of hanging it.
    for (const DWORD start = ::GetTickCount(); !release && ::GetTickCount() - start < 3000;)
      ::Sleep(5);
  });
  while (!held) ::Sleep(1);
  const DWORD before = ::GetTickCount();
  Pump();  // the show message comes and finds the lock taken
  EXPECT_LT(::GetTickCount() - before, 1000u);
  EXPECT_NE(window_->controls().Find("STC_LEFTTIME")->Text(), "3 min");
  release = true;
  driver.join();
  cWindow* text = window_->controls().Find("STC_LEFTTIME");
  for (const DWORD start = ::GetTickCount();
       text->Text() != "3 min" && ::GetTickCount() - start < 2000;) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Pump();
  }
  EXPECT_EQ(text->Text(), "3 min");  // the progress timer came back for it
}

TEST_F(MainWindowTest, InvalidAndSystemFoldersAreRefusedWithTheirBoxes) {
  BuildPage(kPageInstallFolder);
  const struct {
    const char* path;
    bool system_refused;
    unsigned box;  // 0: accepted
  } cases[] = {{"C:Games", false, IDS_INVALID_PATH},
               {"Q:\\Ludoria", false, IDS_INVALID_PATH},
               {"Ludoria", false, IDS_INVALID_PATH},
               {"C:\\Windows\\Games", true, IDS_NO_SYSTEM_FOLDER},
               {"c:\\program files\\Ludoria\\", true, IDS_NO_SYSTEM_FOLDER},
               {"C:", false, 0}};
  for (const auto& c : cases) {
    presenter_.boxes.clear();
    wakes_ = 0;
    refuse_system_folders_ = c.system_refused;
    window_->controls().Find("EDT_PATH")->SetText(c.path);
    window_->StartInstall();
    EXPECT_EQ(wakes_, c.box == 0 ? 1 : 0) << c.path;
    ASSERT_EQ(presenter_.boxes.size(), c.box == 0 ? 0u : 1u) << c.path;
    for (const auto& box : presenter_.boxes) EXPECT_EQ(box.text.rfind(LoadText(c.box), 0), 0u);
  }
  // A second press before the driver's next page neither wakes it again (the
  // set event would cut its countdown short) nor rewrites the folder.
  window_->controls().Find("EDT_PATH")->SetText("Q:\\Other");
  window_->StartInstall();
  EXPECT_EQ(wakes_, 1);
  EXPECT_TRUE(presenter_.boxes.empty());
  BuildPage(kPageInstallFolder);
  window_->controls().Find("EDT_PATH")->SetText("C:");
  window_->StartInstall();
  EXPECT_EQ(wakes_, 2);
}

// The browse button makes the typed folder so the browser opens there; the
// path is the user's, so a file standing in its way is never deleted.
TEST_F(MainWindowTest, BrowseMakesTheTypedFolderButKeepsAFileInItsWay) {
  BuildPage(kPageInstallFolder);
  ScratchFolder scratch;
  ScratchFolder::WriteFile(scratch.Sub("notes"), "the player's own file");
  const struct {
    std::string typed, made;
  } cases[] = {{scratch.Sub("notes\\Ludoria"), ""},
               {scratch.Sub("Games\\Ludoria"), scratch.Sub("Games\\Ludoria")}};
  for (const auto& c : cases) {
    window_->controls().Find("EDT_PATH")->SetText(c.typed.c_str());
    // The browser is modal: a helper cancels it once it shows.
    std::atomic<bool> done{false};
    std::thread closer([&] {
      while (!done) {
        HWND browser = ::FindWindowA("#32770", nullptr);
        if (browser != nullptr && ::GetWindow(browser, GW_OWNER) == window_->hwnd()) {
          ::PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
        }
        ::Sleep(50);
      }
    });
    window_->BrowseFolder();
    done = true;
    closer.join();
    EXPECT_EQ(ReadWholeFile(scratch.Sub("notes")), "the player's own file") << c.typed;
    if (!c.made.empty()) {
      EXPECT_TRUE(IsDirectory(c.made)) << c.made;
    }
  }
}

}  // namespace
}  // namespace ld::test
