// Fetching the game kind catalogue and the update lists from the loopback
// portal: an earlier run's copy is never read, the package list stops at
// the first failed fetch, and a list that is not there has its text and code.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/error_codes.h"
#include "starter/install/catalogue_fetch.h"
#include "starter/install/package_list.h"
#include "starter/install/update_list_fetch.h"
#include "starter/platform/string_table.h"
#include "starter/report/message_boxes.h"
#include "tests/win/support/download_test_support.h"

namespace ld {
namespace {

using test::ScratchFolder;
using ::testing::Contains;

class ListFetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LD_REQUIRE_PORTAL();
    settings_.list_folder = scratch_.Sub("HUL");
    ::CreateDirectoryA(settings_.list_folder.c_str(), nullptr);
    settings_.hul_root = tree_.Root();
  }
  std::string Local(const std::string& name) const { return settings_.list_folder + "\\" + name; }

  test::LogRecorder log_;
  test::RecordingPresenter boxes_;
  ScopedBoxPresenter box_scope_{&boxes_};
  ScratchFolder scratch_;
  test::PortalTree tree_;
  ListFetchSettings settings_;
};

TEST_F(ListFetchTest, CatalogueIsNeverAnEarlierRunsCopy) {
  tree_.Put("newhul/gamekind.ini", "[TABLA]\nGameID1=mygame\n");
  ScratchFolder::WriteFile(Local("gamekind.ini"), "[TABLA]\nGameID1=stale\n");
  Catalogue catalogue;
  ASSERT_TRUE(LoadCatalogue(settings_, "mygame", "My Game", &catalogue));
  EXPECT_EQ(catalogue.base_games[kPackageTabla], (std::vector<std::string>{"mygame"}));
  // An old copy that cannot be deleted (but can be read) is not read
  // either: when nothing comes, the download's empty temporary target gives
  // the defaults.
  settings_.hul_root = tree_.Url("nothing");
  HANDLE held = ::CreateFileA(Local("gamekind.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, 0);
  Catalogue defaults;
  EXPECT_TRUE(LoadCatalogue(settings_, "mygame", "My Game", &defaults));
  ::CloseHandle(held);
  EXPECT_TRUE(defaults.base_games[kPackageTabla].empty());
}

TEST_F(ListFetchTest, PackageListEndsAtTheFirstFailedFetch) {
  tree_.Put("newhul/mygame.hul", "[INSTALL]\n/\ngame.exe, 1, 2, 3, 20070315-123456\n");
  Catalogue catalogue;
  catalogue.base_games[kPackageTabla] = {"mygame"};
  std::vector<PackageDescriptor> packages;
  EXPECT_FALSE(BuildPackageList(catalogue, "mygame", settings_, &packages));
  ASSERT_EQ(packages.size(), 2u);
  EXPECT_EQ(packages[0].records.size(), 1u);
  EXPECT_EQ(packages[1].name, "base2005");
  EXPECT_THAT(test::LogRecorder::Texts(),
              Contains(std::to_string(error_code::kUpdateListUnreadable) + ":base2005"));
  EXPECT_EQ(boxes_.boxes.size(), 1u);
}

TEST_F(ListFetchTest, ListNotFoundShowsTheDownloadTextWithTheAddressCodeAndPackage) {
  ScratchFolder::WriteFile(Local("TABLA.hul"), "stale\n");
  settings_.kind_mode = true;  // the address follows the text
  PackageDescriptor package;
  package.name = "TABLA";
  EXPECT_FALSE(FetchUpdateList(settings_, &package));
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].text,
            LoadText(IDS_FAIL_HUL_DOWNLOAD) + "\n( " + tree_.Url("newhul/TABLA.hul") + " )");
  EXPECT_EQ(boxes_.boxes[0].caption,
            ErrorCaption(error_code::kUpdateListUnreadable, "TABLA", kTextBoxCaptionLimit));
  // The old list went before the download, and nothing took its place.
  EXPECT_FALSE(test::PathExists(Local("TABLA.hul")));
}

}  // namespace
}  // namespace ld
