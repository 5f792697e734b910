// Helpers of the download tests: a recorder for the remote log hook, a
// progress sink that records (and can ask to stop), files published under
// the loopback portal's root, and a guard that clears the stop flag.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "starter/download/download_log.h"
#include "starter/download/progress_sink.h"
#include "starter/app/starter_app.h"
#include "tests/win/support/portal_support.h"
#include "tests/win/support/win_test_support.h"

namespace ld::test {

struct LoggedEvent {
  std::uint32_t code;
  std::string text;
};

// Records remote-log events while alive (one at a time per process).
class LogRecorder {
 public:
  LogRecorder() {
    std::lock_guard<std::mutex> hold(Lock());
    Events().clear();
    previous_ = SetDownloadLogHook(&Record);
  }
  ~LogRecorder() { SetDownloadLogHook(previous_); }
  LogRecorder(const LogRecorder&) = delete;
  LogRecorder& operator=(const LogRecorder&) = delete;

  std::vector<LoggedEvent> events() const {
    std::lock_guard<std::mutex> hold(Lock());
    return Events();
  }
  std::vector<std::string> TextsOf(std::uint32_t code) const {
    std::vector<std::string> texts;
    for (const LoggedEvent& e : events()) {
      if (e.code == code) texts.push_back(e.text);
    }
    return texts;
  }

 private:
  static std::mutex& Lock() {
    static std::mutex lock;
    return lock;
  }
  static std::vector<LoggedEvent>& Events() {
    static std::vector<LoggedEvent> events;
    return events;
  }
  static void Record(std::uint32_t code, const char* text) {
    std::lock_guard<std::mutex> hold(Lock());
    Events().push_back({code, text});
  }

  DownloadLogHook previous_;
};

struct SinkCall {
  std::string kind;  // "range", "pos", "text"
  std::string control;
  std::uint32_t value;
  std::string text;
};

// Records every display change. `on_position` runs (under the meter lock) for
// each bar position; it may set the stop flag but must not touch meters.
class RecordingSink : public ProgressSink {
 public:
  void SetBarRange(const char* bar, uint32_t maximum) override { Add({"range", bar, maximum, ""}); }
  void SetBarPosition(const char* bar, uint32_t position) override {
    Add({"pos", bar, position, ""});
    if (on_position) on_position(bar, position);
  }
  void SetText(const char* control, const std::string& text) override {
    Add({"text", control, 0, text});
  }

  std::vector<SinkCall> calls() const {
    std::lock_guard<std::mutex> hold(lock_);
    return calls_;
  }
  // Positions given to `bar`, in order.
  std::vector<uint32_t> PositionsOf(const std::string& bar) const {
    std::vector<uint32_t> positions;
    for (const SinkCall& c : calls()) {
      if (c.kind == "pos" && c.control == bar) positions.push_back(c.value);
    }
    return positions;
  }
  std::vector<std::string> TextsOf(const std::string& control) const {
    std::vector<std::string> texts;
    for (const SinkCall& c : calls()) {
      if (c.kind == "text" && c.control == control) texts.push_back(c.text);
    }
    return texts;
  }

  std::function<void(const std::string& bar, uint32_t position)> on_position;

 private:
  void Add(SinkCall call) {
    std::lock_guard<std::mutex> hold(lock_);
    calls_.push_back(std::move(call));
  }
  mutable std::mutex lock_;
  std::vector<SinkCall> calls_;
};

// Clears the stop flag before and after a test that may set it.
class StopFlagGuard {
 public:
  StopFlagGuard() { cStarterApp::Get().ClearStop(); }
  ~StopFlagGuard() { cStarterApp::Get().ClearStop(); }
};

// Keeps the application's kind mode for the test and restores it.
class KindModeGuard {
 public:
  explicit KindModeGuard(bool kind_mode) : saved_(cStarterApp::Get().flags().kind_mode) {
    cStarterApp::Get().flags().kind_mode = kind_mode;
  }
  ~KindModeGuard() { cStarterApp::Get().flags().kind_mode = saved_; }

 private:
  bool saved_;
};

// The portal's served folder as a Windows path.
inline std::string PortalRootPath() { return WinePath(PortalRootUnix()); }

// A folder of this test under the portal's root, removed afterwards. Paths
// are relative with "/" separators.
class PortalTree {
 public:
  PortalTree() : tag_(UniqueTag("hi")) {
    base_ = PortalRootPath() + "\\" + tag_;
    ::CreateDirectoryA(base_.c_str(), nullptr);
  }
  ~PortalTree() { ScratchFolder::RemoveTree(base_); }
  PortalTree(const PortalTree&) = delete;
  PortalTree& operator=(const PortalTree&) = delete;

  // Writes a served file, creating its folders.
  void Put(const std::string& relative, const std::string& content) const {
    std::string path = base_;
    std::size_t begin = 0;
    for (std::size_t slash; (slash = relative.find('/', begin)) != std::string::npos;
         begin = slash + 1) {
      path += "\\" + relative.substr(begin, slash - begin);
      ::CreateDirectoryA(path.c_str(), nullptr);
    }
    ScratchFolder::WriteFile(path + "\\" + relative.substr(begin), content);
  }

  // "http://127.0.0.1:PORT/<tag>" and a file under it.
  std::string Root() const { return "http://" + PortalAddress() + "/" + tag_; }
  std::string Url(const std::string& relative) const { return Root() + "/" + relative; }

 private:
  std::string tag_;
  std::string base_;
};

inline bool PathExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace ld::test
