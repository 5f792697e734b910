#include "starter/settings/install_folder_settings.h"

#include <gtest/gtest.h>

#include "starter/platform/registry.h"
#include "starter/platform/string_table.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

// A stored folder in another case is accepted and cut to the root; one that
// is not the language's folder is told and deleted. A language of its own
// keeps these cases away from any other key.
TEST(InstallFolderSettingsTest, StoredHomeInAnyCaseOrDamaged) {
  constexpr char kKey[] = "Software\\Ludoria.Com\\LDTEST";
  test::ScratchFolder scratch;
  ASSERT_TRUE(::CreateDirectoryA(scratch.Sub("LDTEST").c_str(), nullptr));
  test::RecordingPresenter boxes{IDNO};
  ScopedBoxPresenter scoped{&boxes};
  for (const std::string& home : {scratch.path() + "\\ldtest", std::string("C:\\Other")}) {
    RegistryKey key;
    ASSERT_EQ(CreateUserKey(kKey, &key), ERROR_SUCCESS);
    ASSERT_EQ(SetTextValue(key.Get(), "Home", home), ERROR_SUCCESS);
    cInstallFolderSettings settings;
    ASSERT_TRUE(settings.SetLanguage("ludoria://h/s.asp?lang=LDTEST", GamestringFormat::kOld));
    EXPECT_TRUE(settings.Load(nullptr, /*kind_mode=*/true));
    const bool damaged = home == "C:\\Other";
    EXPECT_EQ(settings.folder_missing(), damaged);
    EXPECT_EQ(settings.install_root(), damaged ? "" : scratch.path());
    std::string stored;
    EXPECT_EQ(ReadTextValue(key.Get(), "Home", &stored) == ERROR_SUCCESS, !damaged);
  }
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, LoadText(IDS_REGISTRY_FOLDER_CORRUPTED) + "\n\"C:\\Other\"\n" +
                                     LoadText(IDS_PROCEED_BY_DEFAULT));
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}

}  // namespace
}  // namespace ld
