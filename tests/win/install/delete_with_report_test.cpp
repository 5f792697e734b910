#include "starter/install/delete_with_report.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::RecordingPresenter;
using test::ScratchFolder;

class DeleteWithReportTest : public ::testing::Test {
 protected:
  RecordingPresenter boxes_{IDNO};
  ScopedBoxPresenter scoped_{&boxes_};
  ScratchFolder scratch_;
};

TEST_F(DeleteWithReportTest, FilesFoldersAndReadOnlyEntries) {
  EXPECT_TRUE(DeleteWithReport(scratch_.Sub("nothing-here"), true));

  std::string file = scratch_.Sub("plain.txt");
  ScratchFolder::WriteFile(file, "x");
  ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(DeleteWithReport(file, true));
  EXPECT_EQ(::GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);

  std::string tree = scratch_.Sub("tree");
  ::CreateDirectoryA(tree.c_str(), nullptr);
  ::CreateDirectoryA((tree + "\\sub").c_str(), nullptr);
  ScratchFolder::WriteFile(tree + "\\a.bin", "a");
  ScratchFolder::WriteFile(tree + "\\sub\\b.bin", "b");
  ::SetFileAttributesA((tree + "\\sub\\b.bin").c_str(), FILE_ATTRIBUTE_READONLY);
  ::SetFileAttributesA(tree.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(DeleteWithReport(tree, true));
  EXPECT_EQ(::GetFileAttributesA(tree.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(DeleteWithReportTest, AFileInUseIsAskedAboutOnlyInKindMode) {
  std::string file = scratch_.Sub("busy.dat");
  ScratchFolder::WriteFile(file, "busy");
  HANDLE held = ::CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteWithReport(file, false));
  EXPECT_TRUE(boxes_.boxes.empty());
  EXPECT_FALSE(DeleteWithReport(file, true));
  ::CloseHandle(held);
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  const auto& box = boxes_.boxes[0];
  EXPECT_NE(box.caption.find("로컬파일 삭제 실패"), std::string::npos);
  EXPECT_NE(box.text.find("<" + file + ">"), std::string::npos);
  EXPECT_NE(box.text.find("파일이 있는 폴더를 여시겠습니까?"), std::string::npos);
  EXPECT_EQ(box.style & MB_YESNO, static_cast<UINT>(MB_YESNO));
}

}  // namespace
}  // namespace ld
