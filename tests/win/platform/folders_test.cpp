#include "starter/platform/folders.h"

#include <gtest/gtest.h>

#include <string>

#include "starter/platform/file_version.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::ScratchFolder;

// Sets (or with null removes) an environment value for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    char buffer[4096];
    DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof(buffer));
    had_ = length > 0 && length < sizeof(buffer);
    if (had_) old_.assign(buffer, length);
    ::SetEnvironmentVariableA(name, value);
  }
  ~ScopedEnv() { ::SetEnvironmentVariableA(name_, had_ ? old_.c_str() : nullptr); }

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

TEST(SpecialFolderTest, FallsBackToHomeThenTmpThenSlashTmp) {
  struct Case {
    const char* home;
    const char* tmp;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\home\\player", "C:\\temp", "C:\\home\\player"},
      {nullptr, "C:\\temp", "C:\\temp"},
      {"", "C:\\temp", "C:\\temp"},
      {nullptr, nullptr, "/tmp"},
  };
  for (const Case& c : cases) {
    ScopedEnv home("HOME", c.home);
    ScopedEnv tmp("TMP", c.tmp);
    EXPECT_EQ(SpecialFolderFrom("no_such_library_hh.dll", kAppDataFolderId), c.expected);
    // A library without the export falls back the same way.
    EXPECT_EQ(SpecialFolderFrom("kernel32.dll", kAppDataFolderId), c.expected);
  }
}

TEST(SpecialFolderTest, TheSystemLibraryAnswersWithAnExistingFolder) {
  ScopedEnv home("HOME", "C:\\not-this");
  std::string folder = SpecialFolder(kAppDataFolderId);
  EXPECT_NE(folder, "C:\\not-this");
  EXPECT_TRUE(IsDirectory(folder)) << folder;
}

TEST(StarterDataFolderTest, CreatedBelowTheBaseAndHidden) {
  ScratchFolder scratch;
  for (const std::string& base : {scratch.Sub("a\\b"), scratch.Sub("c") + "\\"}) {
    std::string folder = StarterDataFolderUnder(base);
    std::string expected = base;
    if (expected.back() != '\\') expected += '\\';
    EXPECT_EQ(folder, expected + "Ludoria");
    EXPECT_TRUE(IsDirectory(folder));
    DWORD attributes = ::GetFileAttributesA(folder.c_str());
    EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
    // The hidden mark comes back on every call.
    ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    StarterDataFolderUnder(base);
    EXPECT_NE(::GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  }
}

TEST(FileTestsTest, ExistsPlainFileAndDirectory) {
  ScratchFolder scratch;
  ScratchFolder::WriteFile(scratch.Sub("file.txt"), "x");
  struct Case {
    std::string path;
    bool exists, plain, directory;
  };
  const Case cases[] = {
      {scratch.Sub("file.txt"), true, true, false},
      {scratch.path(), true, false, true},
      {scratch.Sub("missing"), false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileExists(c.path), c.exists) << c.path;
    EXPECT_EQ(IsPlainFile(c.path), c.plain) << c.path;
    EXPECT_EQ(IsDirectory(c.path), c.directory) << c.path;
  }
}

TEST(DeleteFileForcedTest, RemovesReadOnlyFilesAndFailsOnMissingOnes) {
  ScratchFolder scratch;
  std::string path = scratch.Sub("ro.txt");
  ScratchFolder::WriteFile(path, "x");
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(DeleteFileForced(path));
  EXPECT_FALSE(FileExists(path));
  EXPECT_FALSE(DeleteFileForced(path));
}

TEST(CreateFolderTest, CreatesParentsAndAcceptsExistingFolders) {
  ScratchFolder scratch;
  std::string deep = scratch.Sub("one\\two\\three");
  EXPECT_TRUE(CreateFolder(deep));
  EXPECT_TRUE(IsDirectory(deep));
  EXPECT_TRUE(CreateFolder(deep + "\\"));  // one trailing backslash is ignored
  EXPECT_TRUE(CreateFolder(scratch.path()));
  EXPECT_FALSE(CreateFolder(""));
}

TEST(CreateFolderTest, PlainFilesInTheWayAreReplaced) {
  ScratchFolder scratch;
  ScratchFolder::WriteFile(scratch.Sub("parent"), "in the way");
  ::SetFileAttributesA(scratch.Sub("parent").c_str(), FILE_ATTRIBUTE_READONLY);
  std::string child = scratch.Sub("parent\\child");
  EXPECT_TRUE(CreateFolder(child));
  EXPECT_TRUE(IsDirectory(scratch.Sub("parent")));
  EXPECT_TRUE(IsDirectory(child));

  ScratchFolder::WriteFile(scratch.Sub("leaf"), "in the way");
  EXPECT_TRUE(CreateFolder(scratch.Sub("leaf")));
  EXPECT_TRUE(IsDirectory(scratch.Sub("leaf")));
}

TEST(CreateFolderTest, ReportsFoldersThatCannotBeMade) {
  ScratchFolder scratch;
  EXPECT_FALSE(CreateFolder(scratch.Sub("bad<name>")));
}

TEST(FileVersionTest, ReadsTheVersionResource) {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, sizeof(self));
  FileVersion version = ReadFileVersion(self);
  ASSERT_TRUE(version.found);
  EXPECT_EQ(version.high, 0x00010002u);
  EXPECT_EQ(version.low, 0x00030004u);

  ScratchFolder scratch;
  ScratchFolder::WriteFile(scratch.Sub("plain.dll"), "no version here");
  EXPECT_FALSE(ReadFileVersion(scratch.Sub("plain.dll")).found);
  EXPECT_FALSE(ReadFileVersion(scratch.Sub("missing.dll")).found);
}

TEST(LibraryVersionTest, AsksDllGetVersion) {
  EXPECT_GE(LibraryVersion("Shlwapi.dll"), 4u * 65536u + 71u);
  EXPECT_GE(LibraryVersion("Comctl32.dll"), 4u * 65536u);
  EXPECT_EQ(LibraryVersion("kernel32.dll"), 0u);  // no such export
  EXPECT_EQ(LibraryVersion("no_such_library_hh.dll"), 0u);
}

}  // namespace
}  // namespace ld
