#include "starter/startup/open_folder_commands.h"

#include <gtest/gtest.h>

#include <string>

#include "starter/platform/registry.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

TEST(OpenFolderCommandsTest, InvalidHomeIsDeletedOnlyOnYes) {
  constexpr char kKey[] = "Software\\Ludoria.Com\\KOREAN";
  RegistryKey key;
  ASSERT_EQ(CreateUserKey(kKey, &key), ERROR_SUCCESS);
  ASSERT_EQ(SetTextValue(key.Get(), "Home", "Q:\\no\\such\\folder"), ERROR_SUCCESS);
  // Answers No, then Yes, then (the value gone) OK.
  const struct {
    int answer;
    std::size_t boxes;
    const char* last_text_has;
  } cases[] = {{IDNO, 1, "\"Q:\\no\\such\\folder\""},
               {IDYES, 2, "성공했습니다."},
               {IDOK, 1, "<Home>(값 이름)"}};
  for (const auto& c : cases) {
    test::RecordingPresenter boxes{c.answer};
    ScopedBoxPresenter scoped(&boxes);
    EXPECT_FALSE(OpenInstallFolder(kKey, "Home"));
    ASSERT_EQ(boxes.boxes.size(), c.boxes) << c.answer;
    EXPECT_NE(boxes.boxes.back().text.find(c.last_text_has), std::string::npos) << c.answer;
  }
  std::string home;
  EXPECT_EQ(ReadTextValue(key.Get(), "Home", &home), ERROR_FILE_NOT_FOUND);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}

}  // namespace
}  // namespace ld
