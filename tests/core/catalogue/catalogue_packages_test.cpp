#include "core/catalogue/catalogue_packages.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/profile/profile_file.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

using Names = std::vector<std::string>;

Catalogue Read(const std::string& text, const std::string& game) {
  Catalogue c;
  ReadCatalogue(test::Parsed(text), game, "", &c);
  return c;
}

Names PackageNames(const Catalogue& c, const std::string& game) {
  Names names;
  for (const PackagePlan& p : NeededPackages(c, game)) names.push_back(p.name);
  return names;
}

TEST(PackageKindTest, NamesAndSections) {
  EXPECT_STREQ("tbbaseex", PackageNameOfKind(kPackageTablaDx));
  EXPECT_STREQ("LEISUREDECK", BaseSectionOfKind(kPackageLeisureDeck));
  EXPECT_STREQ("", BaseSectionOfKind(kPackageBase2005));
  EXPECT_EQ(kPackageTablaDx, PackageKindOfName("TBBaseEX"));
  EXPECT_EQ(kPackageLeisureDeck, PackageKindOfName("lsbase"));
  for (const char* name : {"", "tbbase ", "TABLA"}) EXPECT_EQ(-1, PackageKindOfName(name)) << name;
  EXPECT_STREQ("", PackageNameOfKind(-1));
  EXPECT_STREQ("", PackageNameOfKind(kPackageKindCount));
  EXPECT_STREQ("", BaseSectionOfKind(-1));
  EXPECT_STREQ("", BaseSectionOfKind(kPackageKindCount));
}

TEST(NeededPackagesTest, OrderAndSelection) {
  const char* catalogue =
      "[TABLA]\nGameID1=tabla\nGameID2=both\nGameID3=Upper\n"
      "[FLORAEX]\nGameID1=both\n[LEISUREDECK]\nGameID1=solo\n[TABLA_DX]\nGameID1=both\n"
      "[no_base2005]\nsolo\n";
  struct Case {
    const char* game;
    Names packages;
  } cases[] = {
      {"tabla", {"tabla", "base2005", "tbbase"}},
      {"both", {"both", "base2005", "tbbase", "tbbaseex", "flbaseex"}},
      {"solo", {"solo", "lsbase"}},
      {"upper", {"upper", "base2005"}},  // base lists compare exactly
      {"other", {"other", "base2005"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.packages, PackageNames(Read(catalogue, c.game), c.game)) << c.game;

  std::vector<PackagePlan> plans = NeededPackages(Read(catalogue, "both"), "both");
  ASSERT_EQ(5u, plans.size());
  EXPECT_TRUE(plans[0].is_game);
  EXPECT_EQ(kPackageGame, plans[0].kind);
  EXPECT_EQ(kPackageFloraEx, plans[4].kind);
  for (std::size_t i = 1; i < plans.size(); ++i) EXPECT_FALSE(plans[i].is_game);
  EXPECT_FALSE(IsPackageKindNeeded(Catalogue(), "x", kPackageKindCount));
  EXPECT_FALSE(IsPackageKindNeeded(Catalogue(), "x", -1));
}

class SetupSelectionTest : public ::testing::Test {
 protected:
  SetupSelectionTest() {
    catalogue_ =
        Read("[TABLA]\nGameID1=tabla\nGameID2=deeprun\n[FLORAEX]\nGameID1=deeprun\n", "deeprun");
    packages_ = NeededPackages(catalogue_, "deeprun");  // deeprun, base2005, tbbase, flbaseex
    facts_.game_has_setup_dirs = true;
    facts_.is_game_installed = [this](const std::string& game) {
      asked_.insert(game);
      return installed_.count(game) > 0;
    };
  }
  std::vector<bool> Select() { return SelectSetupPackages(catalogue_, packages_, facts_); }

  Catalogue catalogue_;
  std::vector<PackagePlan> packages_;
  SetupFacts facts_;
  std::set<std::string> installed_;
  std::set<std::string> asked_;
};

using Marks = std::vector<bool>;

TEST_F(SetupSelectionTest, NothingWithoutSetupDirectoriesOrPackages) {
  facts_.new_installation = true;
  facts_.game_has_setup_dirs = false;
  EXPECT_EQ(Marks(4, false), Select());
  facts_.game_has_setup_dirs = true;
  packages_.clear();
  EXPECT_EQ(Marks(), Select());
}

TEST_F(SetupSelectionTest, NewInstallationMarksEverything) {
  facts_.new_installation = true;
  facts_.game_key_state = 1;
  facts_.base2005_value = 1;
  installed_ = {"tabla"};
  EXPECT_EQ(Marks(4, true), Select());
}

TEST_F(SetupSelectionTest, KnownInstallationWithGameKeyMarksNothing) {
  facts_.game_key_state = 1;
  EXPECT_EQ(Marks(4, false), Select());
  facts_.game_key_state = -1;
  EXPECT_EQ(Marks(4, false), Select());
}

TEST_F(SetupSelectionTest, MissingGameKeySkipsBasesAlreadyBroughtByOtherGames) {
  EXPECT_EQ(Marks({true, true, true, true}), Select());
  // The launched game itself is asked about too: its key is missing, so it
  // never counts as installed in practice.
  EXPECT_EQ((std::set<std::string>{"tabla", "deeprun"}), asked_);

  facts_.base2005_value = 1;
  installed_ = {"tabla"};
  EXPECT_EQ(Marks({true, false, false, true}), Select());

  facts_.base2005_value = 0;
  installed_ = {"deeprun"};
  EXPECT_EQ(Marks({true, true, false, false}), Select());
}

TEST_F(SetupSelectionTest, UnknownPackageNamesAreNotMarked) {
  packages_.push_back({kPackageGame, "extra", false});
  packages_.push_back({kPackageGame, "LSBASE", false});
  facts_.is_game_installed = nullptr;
  EXPECT_EQ(Marks({true, true, true, true, false, true}), Select());
}

}  // namespace
}  // namespace ld
