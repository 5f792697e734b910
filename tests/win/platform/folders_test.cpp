#include "starter/platform/folders.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::ScratchFolder;

TEST(FoldersTest, DataFolderIsHiddenOnEveryCall) {
  ScratchFolder scratch;
  const std::string folder = StarterDataFolderUnder(scratch.Sub("a\\b\\"));
  EXPECT_EQ(folder, scratch.Sub("a\\b\\Ludoria"));
  EXPECT_NE(::GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  StarterDataFolderUnder(scratch.Sub("a\\b"));
  EXPECT_NE(::GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(FoldersTest, CreateFolderReplacesFilesInTheWayAndDeleteForcesReadOnly) {
  ScratchFolder scratch;
  EXPECT_TRUE(CreateFolder(scratch.Sub("one\\two") + "\\"));  // one trailing backslash
  EXPECT_FALSE(CreateFolder(scratch.Sub("bad<name>")));
  for (const char* file : {"parent", "leaf"}) {
    ScratchFolder::WriteFile(scratch.Sub(file), "in the way");
    ::SetFileAttributesA(scratch.Sub(file).c_str(), FILE_ATTRIBUTE_READONLY);
  }
  for (const char* folder : {"parent\\child", "leaf"}) {
    EXPECT_TRUE(CreateFolder(scratch.Sub(folder)));
    EXPECT_TRUE(IsDirectory(scratch.Sub(folder))) << folder;
  }

  const std::string path = scratch.Sub("ro.txt");
  ScratchFolder::WriteFile(path, "x");
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(DeleteFileForced(path));
  EXPECT_FALSE(FileExists(path));
  EXPECT_FALSE(DeleteFileForced(path));
}

}  // namespace
}  // namespace ld
