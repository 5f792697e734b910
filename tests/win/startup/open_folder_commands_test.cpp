#include "starter/startup/open_folder_commands.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "starter/platform/registry.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::RecordingPresenter;
using test::ScratchFolder;

TEST(OpenFolderCommandsTest, InvalidHomeIsDeletedOnlyOnYes) {
  constexpr char kKoreanKey[] = "Software\\Ludoria.Com\\KOREAN";
  {
    RegistryKey key;
    ASSERT_EQ(CreateUserKey(kKoreanKey, &key), ERROR_SUCCESS);
    ASSERT_EQ(SetTextValue(key.Get(), "Home", "Q:\\no\\such\\folder"), ERROR_SUCCESS);
  }
  RecordingPresenter no{IDNO};
  {
    ScopedBoxPresenter scoped(&no);
    EXPECT_FALSE(OpenInstallFolder(kKoreanKey, "Home"));
  }
  ASSERT_EQ(no.boxes.size(), 1u);
  EXPECT_NE(no.boxes[0].text.find("\"Q:\\no\\such\\folder\""), std::string::npos);
  EXPECT_EQ(no.boxes[0].style & MB_YESNO, static_cast<UINT>(MB_YESNO));

  RecordingPresenter yes{IDYES};
  {
    ScopedBoxPresenter scoped(&yes);
    EXPECT_FALSE(OpenInstallFolder(kKoreanKey, "Home"));
  }
  ASSERT_EQ(yes.boxes.size(), 2u);
  EXPECT_NE(yes.boxes[1].text.find("성공했습니다."), std::string::npos);
  RegistryKey key;
  ASSERT_EQ(OpenUserKey(kKoreanKey, KEY_READ, &key), ERROR_SUCCESS);
  std::string home;
  EXPECT_EQ(ReadTextValue(key.Get(), "Home", &home), ERROR_FILE_NOT_FOUND);

  // Now the value is gone: the second message names it.
  RecordingPresenter missing{IDOK};
  {
    ScopedBoxPresenter scoped(&missing);
    EXPECT_FALSE(OpenInstallFolder(kKoreanKey, "Home"));
  }
  ASSERT_EQ(missing.boxes.size(), 1u);
  EXPECT_NE(missing.boxes[0].text.find("<Home>(값 이름)"), std::string::npos);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ludoria.Com\\KOREAN");
}

}  // namespace
}  // namespace ld
