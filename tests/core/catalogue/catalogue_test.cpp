#include "core/catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "core/catalogue/catalogue_edit.h"
#include "core/catalogue/catalogue_packages.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

using test::Parsed;
using Words = std::vector<std::string>;

TEST(CatalogueTest, ReadsEveryValueAndForgetsAnEarlierLoad) {
  // Words are split at blanks and punctuation but ";" and "="; a word starts printable.
  const Words lines = {"x, deeprun", "a&b/c|d\te", "TABLA=1", "tablax", "q;r", "\x01y"};
  for (const char* game : {"DeepRun", "c", "e", "TABLA=1"})
    EXPECT_TRUE(SectionListsGame(lines, game)) << game;
  for (const char* game : {"tabla", "q", "\x01y", ""})
    EXPECT_FALSE(SectionListsGame(lines, game)) << game;

  const ProfileFile file = Parsed(
      "[TABLA]\ngameid1=tabla\nGameID2=\nGAMEID3=deeprun\nGameID5=x\n[FLORAEX]\nGameID1=deeprun\n"
      "[DEEPRUN]\nfile=runner.exe\nall=0\nGameID1=tabla\n[GameSpec.deeprun]\nShortCut_IE=true\n"
      "ShortCut_URL=http://p/dr\nShortCut_Name=Deep Run\nShortCut_desc=Run deep\n"
      "ShortCut_IconPath=/common/dr.ico\n[gamespec.TABLA]\nShortCut_IE=TRUE\nShortCut_URL=\n"
      "[unity_games]\ntabla, deeprun\n[no_base2005]\nlsgame\n");
  Catalogue c;
  ReadCatalogue(file, "deeprun", "title", &c);
  // Keys in any case; empty values are skipped, an absent key ends the list.
  EXPECT_EQ(c.base_games[kPackageTabla], (Words{"tabla", "deeprun"}));
  EXPECT_EQ(c.companion.file + ":" + c.companion.games.at(0), "runner.exe:tabla");
  const ShortcutSettings& sc = c.shortcut;
  EXPECT_EQ(sc.url + "|" + sc.name + "|" + sc.desc + "|" + sc.icon_path,
            "http://p/dr|Deep Run|Run deep|common\\dr.ico");
  EXPECT_TRUE(sc.in_browser && c.popup && !c.no_base2005);
  // An empty address keeps the earlier shortcut fields; "TRUE" is not "true".
  ReadCatalogue(file, "tabla", "title", &c);
  EXPECT_TRUE(!sc.in_browser && sc.name == "Deep Run");
  ReadCatalogue(file, "lsgame", "title", &c);
  EXPECT_TRUE(!c.popup && c.no_base2005 && c.base_games[kPackageTabla].size() == 2);
  // Only an absent name falls back to the title.
  const ProfileFile names =
      Parsed("[GameSpec.g]\nShortCut_URL=u\n[GameSpec.h]\nShortCut_URL=u\nShortCut_Name=\n");
  ReadCatalogue(names, "g", "Fallback", &c);
  EXPECT_TRUE(c.base_games[kPackageTabla].empty() && c.companion.file.empty());
  EXPECT_EQ(sc.name, "Fallback");
  ReadCatalogue(names, "h", "Fallback", &c);
  EXPECT_EQ(sc.name, "");

  // A companion for all games skips its list.
  for (auto [all, for_all] : {std::pair{" 01 ", true}, {"0x1", true}, {"true", false}}) {
    ReadCatalogue(Parsed(std::string("[DEEPRUN]\nfile=r.exe\nall=") + all + "\nGameID1=a\n"), "b",
                  "", &c);
    EXPECT_EQ(c.companion.games.size(), for_all ? 0u : 1u) << all;
    EXPECT_EQ(CompanionRunsFor(c.companion, "A"), for_all) << all;  // ids compare exactly
  }
  EXPECT_FALSE(CompanionRunsFor(CompanionProgram{"", true, {}}, "a"));  // no program to run
}

TEST(CataloguePackages, KindsOrderAndSetupSelection) {
  Catalogue c;
  EXPECT_EQ(PackageKindOfName("tbbase "), -1);
  EXPECT_STREQ(PackageNameOfKind(kPackageKindCount), "");
  EXPECT_EQ(std::string(BaseSectionOfKind(-1)) + BaseSectionOfKind(kPackageKindCount), "");
  // Base lists compare exactly: "upper" is not "Upper".
  for (auto [game, packages] :
       {std::pair{"both", " both* base2005:1 tbbase:2 tbbaseex:3 flbaseex:4"},
        {"solo", " solo* lsbase:5"},
        {"upper", " upper* base2005:1"}}) {
    ReadCatalogue(
        Parsed("[TABLA]\nGameID1=both\nGameID2=Upper\n[FLORAEX]\nGameID1=both\n[LEISUREDECK]"
               "\nGameID1=solo\n[TABLA_DX]\nGameID1=both\n[no_base2005]\nsolo\n"),
        game, "", &c);
    std::string names;
    for (const PackagePlan& p : NeededPackages(c, game))
      names += " " + p.name + (p.is_game ? "*" : ":" + std::to_string(p.kind));
    EXPECT_EQ(names, packages);
  }

  ReadCatalogue(Parsed("[TABLA]\nGameID1=tabla\nGameID2=deeprun\n[FLORAEX]\nGameID1=deeprun\n"),
                "deeprun", "", &c);
  std::vector<PackagePlan> packages = NeededPackages(c, "deeprun");  // +base2005 tbbase flbaseex
  std::set<std::string> installed;
  SetupFacts facts;
  facts.game_has_setup_dirs = true;
  facts.is_game_installed = [&](const std::string& game) { return installed.count(game) > 0; };
  auto marks = [&] {
    std::string m;
    for (bool b : SelectSetupPackages(c, packages, facts)) m += b ? '1' : '0';
    return m;
  };
  // Without the game's key, bases other installed games brought are skipped.
  EXPECT_EQ(marks(), "1111");
  facts.base2005_value = 1;
  installed = {"tabla"};
  EXPECT_EQ(marks(), "1001");
  packages.insert(packages.end(),
                  {{kPackageGame, "extra", false}, {kPackageGame, "LSBASE", false}});
  EXPECT_EQ(marks(), "100101");  // unknown names are not marked
  facts.game_key_state = -1;
  EXPECT_EQ(marks(), "000000");
  facts.new_installation = true;  // wins over everything
  EXPECT_EQ(marks(), "111111");
  facts.game_has_setup_dirs = false;
  EXPECT_EQ(marks(), "000000");
}

TEST(CatalogueEdit, IdListsAndWordLists) {
  ProfileWriter w;
  // GameID4 is invisible behind the gap until GameID3 is written.
  w.SetText("[T]\nGameID1=a\nGameID4=d\n");
  EXPECT_FALSE(AddGameToIdList(&w, "T", "a"));
  EXPECT_TRUE(AddGameToIdList(&w, "T", "A") && AddGameToIdList(&w, "T", "b"));
  EXPECT_EQ(ReadGameIdList(w, "T"), (Words{"a", "A", "b", "d"}));

  w.SetText("[D]\nfile=r.exe\nGameID1=a\nGameID2=b\nGameID3=\nGameID4=c\nGameID6=z\n");
  EXPECT_FALSE(RemoveGameFromIdList(&w, "D", "z"));
  EXPECT_TRUE(RemoveGameFromIdList(&w, "D", "b") && RemoveGameFromIdList(&w, "D", "a") &&
              RemoveGameFromIdList(&w, "D", "c"));
  EXPECT_EQ(w.Text(), "[D]\nfile=r.exe\nGameID6=z\n");

  // before, "+" to list "tabla" or "-" not to, after ("" when nothing changes)
  const std::string cases[][3] = {
      {"", "+", "[unity_games]\r\ntabla\r\n"},
      {"[unity_games]\nx, TABLA |y\nTabla\nTABLA=1\n", "-", "[unity_games]\nx,y\nTABLA=1\n"},
      {"[unity_games]\nTABLA=1\n", "+", "[unity_games]\nTABLA=1\ntabla\n"},
      {"[unity_games]\nx\n", "-", ""},
  };
  for (const auto& c : cases) {
    w.SetText(c[0]);
    EXPECT_EQ(SetGameListed(&w, "unity_games", "tabla", c[1] == "+"), !c[2].empty()) << c[0];
    EXPECT_EQ(w.Text(), c[2].empty() ? c[0] : c[2]);
  }
}

}  // namespace
}  // namespace ld
