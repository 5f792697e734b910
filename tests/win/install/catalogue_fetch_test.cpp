// Loading the game kind catalogue from the loopback portal (always read from
// the download target, never from an earlier run's copy), building the
// package list with its fetches, and the setup selection.
#include "starter/install/catalogue_fetch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/error_codes.h"
#include "starter/settings/install_folder_settings.h"
#include "starter/install/package_list.h"
#include "tests/win/support/list_fetch_fixture.h"

namespace ld {
namespace {

constexpr char kCatalogue[] =
    "[TABLA]\n"
    "GameID1=mygame\n"
    "[FLORAEX]\n"
    "GameID1=other\n"
    "[DEEPRUN]\n"
    "file=deeprun.exe\n"
    "all=1\n"
    "[GameSpec.mygame]\n"
    "ShortCut_URL=http://portal.example/mygame\n"
    "ShortCut_IconPath=/common/Images/x.ico\n"
    "[unity_games]\n"
    "tabla, mygame\n";

std::string ListWithSetup(bool with_setup) {
  std::string text =
      "[INSTALL]\n"
      "/\n"
      "game.exe, 1, 2, 3, 20070315-123456\n";
  if (with_setup) text += "[SETUP_INSTALL]\n/\nsetup.zip, 1, 2, 3, 20070315-123456\n";
  return text;
}

class CatalogueFetchTest : public test::ListFetchTest {
 protected:
  std::string LocalCatalogue() const { return settings_.list_folder + "\\gamekind.ini"; }
};

TEST_F(CatalogueFetchTest, LoadsTheServedCatalogueForTheLaunchedGame) {
  tree_.Put("newhul/gamekind.ini", kCatalogue);
  test::ScratchFolder::WriteFile(LocalCatalogue(), "[TABLA]\nGameID1=stale\n");
  Catalogue catalogue;
  catalogue.base_games[kPackageLeisureDeck].push_back("left over");

  ASSERT_TRUE(LoadCatalogue(settings_, "mygame", "My Game", &catalogue));
  EXPECT_EQ(catalogue.base_games[kPackageTabla], (std::vector<std::string>{"mygame"}));
  EXPECT_EQ(catalogue.base_games[kPackageFloraEx], (std::vector<std::string>{"other"}));
  EXPECT_TRUE(catalogue.base_games[kPackageLeisureDeck].empty());
  EXPECT_EQ(catalogue.companion.file, "deeprun.exe");
  EXPECT_TRUE(catalogue.companion.all);
  EXPECT_EQ(catalogue.shortcut.url, "http://portal.example/mygame");
  EXPECT_EQ(catalogue.shortcut.name, "My Game");
  EXPECT_EQ(catalogue.shortcut.icon_path, "common\\Images\\x.ico");
  EXPECT_TRUE(catalogue.popup);
  EXPECT_FALSE(catalogue.no_base2005);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(CatalogueFetchTest, NoCatalogueWhenTheOldOneWentAndNothingCame) {
  test::ScratchFolder::WriteFile(LocalCatalogue(), kCatalogue);
  Catalogue catalogue;
  EXPECT_FALSE(LoadCatalogue(settings_, "mygame", "My Game", &catalogue));
  EXPECT_FALSE(test::PathExists(LocalCatalogue()));
  EXPECT_TRUE(catalogue.base_games[kPackageTabla].empty());
  // A failed catalogue download is told by the driver, not here.
  EXPECT_TRUE(boxes_.boxes.empty());
  EXPECT_TRUE(log_.TextsOf(error_code::kNoInternet).empty());
}

TEST_F(CatalogueFetchTest, AnOldCatalogueThatStaysIsNeverRead) {
  test::ScratchFolder::WriteFile(LocalCatalogue(), kCatalogue);
  HANDLE held =
      ::CreateFileA(LocalCatalogue().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Catalogue catalogue;
  const bool loaded = LoadCatalogue(settings_, "mygame", "My Game", &catalogue);
  ::CloseHandle(held);
  // The empty temporary target is read: a catalogue of defaults.
  EXPECT_TRUE(loaded);
  EXPECT_TRUE(catalogue.base_games[kPackageTabla].empty());
  EXPECT_TRUE(catalogue.companion.file.empty());
  EXPECT_FALSE(catalogue.popup);
}

TEST_F(CatalogueFetchTest, PackageListHoldsTheNeededPackagesInOrderEachWithItsList) {
  tree_.Put("newhul/mygame.hul", ListWithSetup(true));
  tree_.Put("newhul/base2005.hul", ListWithSetup(false));
  tree_.Put("newhul/tbbase.hul", ListWithSetup(false));
  Catalogue catalogue;
  catalogue.base_games[kPackageTabla] = {"mygame"};
  catalogue.base_games[kPackageFloraEx] = {"other"};

  std::vector<PackageDescriptor> packages;
  ASSERT_TRUE(BuildPackageList(catalogue, "mygame", settings_, &packages));
  ASSERT_EQ(packages.size(), 3u);
  EXPECT_EQ(packages[0].name, "mygame");
  EXPECT_TRUE(packages[0].is_game);
  EXPECT_EQ(packages[1].name, "base2005");
  EXPECT_FALSE(packages[1].is_game);
  EXPECT_EQ(packages[2].name, "tbbase");
  for (const PackageDescriptor& package : packages) {
    EXPECT_EQ(package.records.size(), 1u) << package.name;
  }

  // A new installation installs every package's setup list; without setup
  // directories in the game's list, nothing is installed.
  cInstallFolderSettings folder_settings;
  EXPECT_EQ(SelectSetupPackages(catalogue, folder_settings, true, &packages), 3);
  for (const PackageDescriptor& package : packages) EXPECT_TRUE(package.setup_selected);
  packages[0].update_list.setup_install.clear();
  EXPECT_EQ(SelectSetupPackages(catalogue, folder_settings, true, &packages), 0);
  for (const PackageDescriptor& package : packages) EXPECT_FALSE(package.setup_selected);
}

TEST_F(CatalogueFetchTest, PackageListEndsAtTheFirstFailedFetch) {
  tree_.Put("newhul/mygame.hul", ListWithSetup(false));
  tree_.Put("newhul/tbbase.hul", ListWithSetup(false));
  Catalogue catalogue;
  catalogue.base_games[kPackageTabla] = {"mygame"};
  std::vector<PackageDescriptor> packages;
  EXPECT_FALSE(BuildPackageList(catalogue, "mygame", settings_, &packages));
  ASSERT_EQ(packages.size(), 2u);
  EXPECT_EQ(packages[1].name, "base2005");
  EXPECT_EQ(log_.TextsOf(error_code::kUpdateListUnreadable),
            (std::vector<std::string>{"base2005"}));
  EXPECT_EQ(boxes_.boxes.size(), 1u);

  // A game that needs no common base skips it.
  catalogue.no_base2005 = true;
  packages.clear();
  ASSERT_TRUE(BuildPackageList(catalogue, "mygame", settings_, &packages));
  ASSERT_EQ(packages.size(), 2u);
  EXPECT_EQ(packages[1].name, "tbbase");
}

}  // namespace
}  // namespace ld
