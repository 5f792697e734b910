// An installation window on the test's thread with a stepped clock, boxes
// answered by the test, and a stand-in driver thread that talks to the window
// the way the installation driver does.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "starter/report/box_presenter.h"
#include "starter/app/starter_app.h"
#include "starter/ui/main_window.h"
#include "starter/ui/message_loop.h"
#include "starter/ui/ui_send.h"

namespace ld::test {

// Answers boxes with `answer` and records them.
class AnsweringPresenter : public BoxPresenter {
 public:
  struct Box {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
  };
  int Show(HWND owner, const std::string& text, const std::string& caption, UINT style) override {
    boxes.push_back({owner, text, caption, style});
    if (on_show) on_show();
    return answer;
  }
  int answer = IDNO;
  std::function<void()> on_show;
  std::vector<Box> boxes;
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cStarterApp& app = cStarterApp::Get();
    app.ClearStop();
    app.driver_finished() = false;
    app.flags().kind_mode = false;
    app.flags().test_zone = false;
    app.launch_record().game_id = "ludo";
    env_ = DefaultMainWindowEnv(app);
    env_.tick = [this] { return now_.load(); };
    env_.stop = [this, &app] {
      ++stops_;
      app.RequestStop();
    };
    env_.wake = [this] { ++wakes_; };
    env_.panel_loaded = [this](const char* name) {
      return std::string(name) == "IE_ADVERTISE" ? advert_loaded_ : rating_loaded_;
    };
    env_.refuse_system_folders = [] { return false; };
    // The panels stay blank: a navigation still in flight when a test's
    // window goes would complete into a browser Wine has already freed,
    // and the tests fake the panels' readiness anyway.
    env_.panel_address = nullptr;
    Configure(env_);
    window_ = std::make_unique<cMainWindow>(env_);
    ASSERT_TRUE(window_->CreateInstallationWindow("Ludoria Setup Wizard"));
    accelerators_ = LoadStarterAccelerators();
    ASSERT_NE(accelerators_, nullptr);
  }

  void TearDown() override {
    window_.reset();
    Pump();
    cStarterApp::Get().ClearStop();
  }

  // A test adjusts the environment before the window exists.
  virtual void Configure(MainWindowEnv&) {}

  // Handles what is queued (returns false after the quit message).
  bool Pump() { return PumpMessages(window_ ? window_->hwnd() : nullptr, accelerators_); }

  // Runs `driver` on its own thread while this thread keeps the window's
  // messages moving; fails the test when the driver takes over 10 s.
  void RunDriver(const std::function<void(cMainWindow*)>& driver,
                 const std::function<void()>& between = nullptr) {
    std::atomic<bool> done{false};
    cMainWindow* window = window_.get();
    std::thread thread([&] {
      driver(window);
      done = true;
    });
    const DWORD start = ::GetTickCount();
    while (!done && ::GetTickCount() - start < 10000) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      Pump();
      if (between) between();
    }
    EXPECT_TRUE(done) << "the stand-in driver did not finish";
    thread.join();
  }

  void BuildPage(int page) {
    RunDriver([page](cMainWindow* w) {
      UiSend(w, UWM_DRIVER_UI, DriverUiParam(kUiBuildPage, static_cast<std::uint16_t>(page)), 0);
    });
  }

  // Presses `key` on the window as the keyboard would.
  void Press(UINT key) {
    ::PostMessageA(window_->hwnd(), WM_KEYDOWN, key, 1);
    ::PostMessageA(window_->hwnd(), WM_KEYUP, key, 0xC0000001);
    for (int i = 0; i < 5 && Pump(); ++i) ::Sleep(1);
  }

  RECT ControlRect(const char* name) {
    RECT rect = {};
    cWindow* control = window_->controls().Find(name);
    if (control == nullptr || control->hwnd() == nullptr) return rect;
    ::GetWindowRect(control->hwnd(), &rect);
    ::MapWindowPoints(nullptr, window_->hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  MainWindowEnv env_;
  std::unique_ptr<cMainWindow> window_;
  HACCEL accelerators_ = nullptr;
  std::atomic<DWORD> now_{100000};
  int stops_ = 0;
  int wakes_ = 0;
  bool advert_loaded_ = false;
  bool rating_loaded_ = false;
  AnsweringPresenter presenter_;
  ScopedBoxPresenter presenter_scope_{&presenter_};
};

}  // namespace ld::test
