// Helpers of the download and installation tests: the remote log recorded
// instead of sent, and files served from a folder of the loopback portal.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "starter/app/starter_app.h"
#include "starter/download/download_log.h"
#include "tests/win/support/portal_support.h"
#include "tests/win/support/win_test_support.h"

namespace ld::test {

// Records remote-log events while alive (one recorder at a time); workers
// log from their own threads.
class LogRecorder {
 public:
  LogRecorder() {
    std::lock_guard<std::mutex> hold(Lock());
    Events().clear();
    previous_ = SetDownloadLogHook(&Record);
  }
  ~LogRecorder() { SetDownloadLogHook(previous_); }

  // "code:text" of every event.
  static std::vector<std::string> Texts() {
    std::lock_guard<std::mutex> hold(Lock());
    return Events();
  }

 private:
  static std::mutex& Lock() {
    static std::mutex lock;
    return lock;
  }
  static std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
  }
  static void Record(std::uint32_t code, const char* text) {
    std::lock_guard<std::mutex> hold(Lock());
    Events().push_back(std::to_string(code) + ":" + text);
  }
  DownloadLogHook previous_ = nullptr;
};

// A folder of this test under the portal's root, removed afterwards. Paths
// are relative with "/" separators.
class PortalTree {
 public:
  PortalTree() : tag_(UniqueTag("hi")), base_(WinePath(PortalRootUnix()) + "\\" + tag_) {
    ::CreateDirectoryA(base_.c_str(), nullptr);
  }
  ~PortalTree() { ScratchFolder::RemoveTree(base_); }

  // The served file's Windows path, its folders made.
  std::string Path(const std::string& relative) const {
    std::string path = base_;
    std::size_t begin = 0;
    for (std::size_t slash; (slash = relative.find('/', begin)) != std::string::npos;
         begin = slash + 1) {
      path += "\\" + relative.substr(begin, slash - begin);
      ::CreateDirectoryA(path.c_str(), nullptr);
    }
    return path + "\\" + relative.substr(begin);
  }
  void Put(const std::string& relative, const std::string& content) const {
    ScratchFolder::WriteFile(Path(relative), content);
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
