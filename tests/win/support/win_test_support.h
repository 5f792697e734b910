// Helpers shared by the Windows-layer tests: a box presenter that records
// instead of showing, a scratch folder, test file bytes, and the language
// checks that decide whether a table-specific case applies to this run.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "starter/report/box_presenter.h"
#include "starter/platform/string_table.h"

namespace ld::test {

struct ShownBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT style;
};

// Records every box, calls `on_show` (when set) while it is up, and answers
// with `answer`.
class RecordingPresenter : public BoxPresenter {
 public:
  explicit RecordingPresenter(int answer = IDOK) : answer(answer) {}
  int Show(HWND owner, const std::string& text, const std::string& caption, UINT style) override {
    boxes.push_back({owner, text, caption, style});
    if (on_show) on_show();
    return answer;
  }
  std::vector<ShownBox> boxes;
  int answer;
  std::function<void()> on_show;
};

// A fresh folder under the temporary folder, removed with its content.
class ScratchFolder {
 public:
  ScratchFolder() {
    char base[MAX_PATH] = {};
    ::GetTempPathA(sizeof(base), base);
    char name[MAX_PATH] = {};
    ::GetTempFileNameA(base, "hh", 0, name);  // creates a file; a folder takes its name
    ::DeleteFileA(name);
    ::CreateDirectoryA(name, nullptr);
    path_ = name;
  }
  ~ScratchFolder() { RemoveTree(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string Sub(const std::string& name) const { return path_ + "\\" + name; }

  static void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(out << content) << path;
  }

  // Removes `path` with everything below it, read-only files too.
  static void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &data);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(find, &data)) {
      const std::string name = data.cFileName, child = path + "\\" + name;
      if (name == "." || name == "..") continue;
      ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
      ::DeleteFileA(child.c_str());
    }
    if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(path.c_str());
  }

 private:
  std::string path_;
};

// Bytes of a test file: a pattern that shows misplaced pieces and compresses
// poorly.
inline std::string PatternBytes(std::size_t size, unsigned seed = 1) {
  std::string bytes(size, '\0');
  unsigned value = seed;
  for (std::size_t i = 0; i < size; ++i) {
    value = value * 1103515245u + 12345u;
    bytes[i] = static_cast<char>(value >> 16);
  }
  return bytes;
}

// The whole content of a file, "" when it cannot be opened. Opens as the C
// library does (sharing reads and writes), so a file the code under test
// still maps or writes can be read.
inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

inline bool KoreanTableExpected() { return std::getenv("LD_EXPECT_KOREAN_TABLE") != nullptr; }

// Cases written for one table skip when the system picked the other, except
// that the Korean run (LD_EXPECT_KOREAN_TABLE set) fails when it got English.
#define LD_REQUIRE_TABLE(tag)                                                          \
  do {                                                                                 \
    std::string in_use_ = ::ld::LoadText(IDS_LANGUAGE_TAG, 16);                        \
    if (std::string(tag) == "ko" && ::ld::test::KoreanTableExpected()) {               \
      ASSERT_EQ(in_use_, "ko") << "the Korean locale did not select the Korean table"; \
    }                                                                                  \
    if (in_use_ != (tag)) GTEST_SKIP() << "string table in use: " << in_use_;          \
  } while (0)

}  // namespace ld::test
