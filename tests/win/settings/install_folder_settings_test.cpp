#include "starter/settings/install_folder_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "starter/platform/registry.h"
#include "starter/platform/string_table.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::RecordingPresenter;
using test::ScratchFolder;

// A language of its own keeps these cases away from any other key.
constexpr char kLanguage[] = "LDTEST";
constexpr char kKey[] = "Software\\Ludoria.Com\\LDTEST";

class InstallFolderSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    ASSERT_TRUE(
        settings_.SetLanguage("ludoria://h/s.asp?k22e=GAME&lang=LDTEST", GamestringFormat::kOld));
  }
  void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }

  void StoreHome(const std::string& home) {
    RegistryKey key;
    ASSERT_EQ(CreateUserKey(kKey, &key), ERROR_SUCCESS);
    ASSERT_EQ(SetTextValue(key.Get(), "Home", home), ERROR_SUCCESS);
  }
  bool HomeStored(std::string* home = nullptr) {
    RegistryKey key;
    if (OpenUserKey(kKey, KEY_READ, &key) != ERROR_SUCCESS) return false;
    std::string value;
    bool ok = ReadTextValue(key.Get(), "Home", &value) == ERROR_SUCCESS;
    if (home) *home = value;
    return ok;
  }
  DWORD Counter() {
    RegistryKey key;
    DWORD value = 0;
    if (OpenUserKey(kKey, KEY_READ, &key) == ERROR_SUCCESS) {
      ReadNumberValue(key.Get(), "base2005", &value);
    }
    return value;
  }

  RecordingPresenter boxes_{IDNO};
  ScopedBoxPresenter scoped_{&boxes_};
  ScratchFolder scratch_;
  cInstallFolderSettings settings_;
};

TEST_F(InstallFolderSettingsTest, NoKeyAtAllIsAFirstInstallation) {
  EXPECT_TRUE(settings_.Load(nullptr, false));
  EXPECT_TRUE(settings_.folder_missing());
  EXPECT_EQ(settings_.install_root(), "");
  EXPECT_TRUE(settings_.CheckExistingInstallation("GAME", nullptr));
  EXPECT_EQ(settings_.install_state(), kInstallStateNone);
  EXPECT_EQ(settings_.game_key_state(), kInstallStateNone);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(InstallFolderSettingsTest, LowerCaseHomeIsAcceptedAndCut) {
  ASSERT_TRUE(::CreateDirectoryA(scratch_.Sub("LDTEST").c_str(), nullptr));
  StoreHome(scratch_.path() + "\\ldtest");
  EXPECT_TRUE(settings_.Load(nullptr, false));
  EXPECT_FALSE(settings_.folder_missing());
  EXPECT_EQ(settings_.install_root(), scratch_.path());
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(InstallFolderSettingsTest, DamagedHomeIsToldAndDeleted) {
  StoreHome("C:\\Other");
  EXPECT_TRUE(settings_.Load(nullptr, /*kind_mode=*/true));
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  const auto& box = boxes_.boxes[0];
  EXPECT_EQ(box.caption, LoadText(IDS_CAPTION));
  EXPECT_EQ(box.text, LoadText(IDS_REGISTRY_FOLDER_CORRUPTED) + "\n\"C:\\Other\"\n" +
                          LoadText(IDS_PROCEED_BY_DEFAULT));
  EXPECT_TRUE(box.style & MB_ICONINFORMATION);
  EXPECT_TRUE(box.style & MB_TOPMOST);
  EXPECT_FALSE(HomeStored());
  EXPECT_EQ(settings_.install_root(), "");
  EXPECT_TRUE(settings_.folder_missing());
}

TEST_F(InstallFolderSettingsTest, WriteRecordThenFindTheInstallation) {
  settings_.SetInstallRoot(scratch_.path() + "\\");
  EXPECT_EQ(settings_.language_folder(), scratch_.path() + "\\LDTEST");
  ASSERT_TRUE(::CreateDirectoryA(settings_.language_folder().c_str(), nullptr));

  ASSERT_TRUE(settings_.WriteRecord("game", "Tabla", 1.5, /*no_base2005=*/false));
  std::string home;
  ASSERT_TRUE(HomeStored(&home));
  EXPECT_EQ(home, scratch_.path() + "\\LDTEST");
  EXPECT_EQ(Counter(), 1u);
  RegistryKey game;
  ASSERT_EQ(OpenUserKey(std::string(kKey) + "\\GAME", KEY_READ, &game), ERROR_SUCCESS);
  std::string name, version;
  ReadTextValue(game.Get(), "Name", &name);
  ReadTextValue(game.Get(), "Version", &version);
  EXPECT_EQ(name, "Tabla");
  EXPECT_EQ(version, "1.50");

  // A second run loads the counter; a game without the base package leaves it.
  cInstallFolderSettings again;
  ASSERT_TRUE(again.SetLanguage("ludoria://x?lang=LDTEST", GamestringFormat::kOld));
  ASSERT_TRUE(again.Load(nullptr, false));
  EXPECT_EQ(again.base_package_counter(), 1u);
  again.SetInstallRoot(again.install_root());
  ASSERT_TRUE(again.WriteRecord("other", "Other", 2, /*no_base2005=*/true));
  EXPECT_EQ(Counter(), 1u);
  ASSERT_TRUE(again.WriteRecord("third", "Third", 2, /*no_base2005=*/false));
  EXPECT_EQ(Counter(), 2u);

  EXPECT_TRUE(again.CheckExistingInstallation("GAME", nullptr));
  EXPECT_EQ(again.install_state(), kInstallStatePresent);
  EXPECT_EQ(again.game_key_state(), kInstallStatePresent);
  EXPECT_TRUE(again.CheckExistingInstallation("NEWGAME", nullptr));
  EXPECT_EQ(again.game_key_state(), kInstallStateNone);
}

TEST_F(InstallFolderSettingsTest, LanguageAndDefaultRoot) {
  cInstallFolderSettings fresh;
  EXPECT_EQ(fresh.registry_key(), "Software\\Ludoria.Com\\KOREAN");
  EXPECT_FALSE(fresh.SetLanguage("ludoria://h/s.asp?k22e=GAME", GamestringFormat::kOld));
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_NE(boxes_.boxes[0].caption.find("00170001"), std::string::npos);
  EXPECT_TRUE(fresh.SetLanguage("ludoria://P=&P0=eA==", GamestringFormat::kNew));
  EXPECT_EQ(fresh.language(), "KOREAN");
  fresh.SetInstallRoot("");
  char windows[MAX_PATH] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  EXPECT_EQ(fresh.install_root(), std::string(1, windows[0]) + ":\\Ludoria");
  EXPECT_EQ(fresh.language_folder(), std::string(1, windows[0]) + ":\\Ludoria\\KOREAN");
}

}  // namespace
}  // namespace ld
