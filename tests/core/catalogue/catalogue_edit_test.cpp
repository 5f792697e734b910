#include "core/catalogue/catalogue_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/profile/profile_file.h"

namespace ld {
namespace {

using Names = std::vector<std::string>;

TEST(CatalogueEditTest, AddGameIdFillsTheFirstAbsentKey) {
  struct Case {
    const char* before;
    const char* game;
    bool changed;
    Names after;
  } cases[] = {
      {"", "tabla", true, {"tabla"}},
      {"[TABLA]\nGameID1=tabla\n", "tabla", false, {"tabla"}},
      {"[TABLA]\nGameID1=tabla\n", "Tabla", true, {"tabla", "Tabla"}},  // ids compare exactly
      {"[TABLA]\nGameID1=a\nGameID2=\n", "b", true, {"a", "b"}},
      // GameID4 is invisible behind the gap; the new game must go to GameID2.
      {"[TABLA]\nGameID1=a\nGameID4=d\n", "b", true, {"a", "b"}},
  };
  for (const Case& c : cases) {
    ProfileWriter w;
    w.SetText(c.before);
    EXPECT_EQ(c.changed, AddGameToIdList(&w, "TABLA", c.game)) << c.before;
    EXPECT_EQ(c.after, ReadGameIdList(w, "TABLA")) << c.before;
  }
}

TEST(CatalogueEditTest, RemoveGameIdRenumbers) {
  ProfileWriter w;
  w.SetText("[DEEPRUN]\nfile=r.exe\nGameID1=a\nGameID2=b\nGameID3=\nGameID4=c\nGameID6=z\n");
  EXPECT_FALSE(RemoveGameFromIdList(&w, "DEEPRUN", "z"));  // hidden behind the gap
  EXPECT_TRUE(RemoveGameFromIdList(&w, "DEEPRUN", "b"));
  EXPECT_EQ((Names{"a", "c"}), ReadGameIdList(w, "DEEPRUN"));
  EXPECT_TRUE(RemoveGameFromIdList(&w, "DEEPRUN", "a"));
  EXPECT_TRUE(RemoveGameFromIdList(&w, "DEEPRUN", "c"));
  EXPECT_EQ(Names{}, ReadGameIdList(w, "DEEPRUN"));
  ProfileFile file;
  file.Parse(w.Text());
  EXPECT_EQ("r.exe", file.GetString("DEEPRUN", "file", ""));
  EXPECT_EQ("z", file.GetString("DEEPRUN", "GameID6", ""));
}

TEST(CatalogueEditTest, WordListMembership) {
  struct Case {
    const char* before;
    bool listed;
    bool changed;
    const char* after;
  } cases[] = {
      {"", true, true, "[unity_games]\r\ntabla\r\n"},
      {"[unity_games]\nx, TABLA\n", true, false, "[unity_games]\nx, TABLA\n"},
      {"[unity_games]\nx, TABLA |y\nTabla\nTABLA=1\n", false, true,
       "[unity_games]\nx,y\nTABLA=1\n"},
      {"[unity_games]\nTABLA=1\n", true, true, "[unity_games]\nTABLA=1\ntabla\n"},
      {"[unity_games]\nx\n", false, false, "[unity_games]\nx\n"},
  };
  for (const Case& c : cases) {
    ProfileWriter w;
    w.SetText(c.before);
    EXPECT_EQ(c.changed, SetGameListed(&w, "unity_games", "tabla", c.listed)) << c.before;
    EXPECT_EQ(c.after, w.Text()) << c.before;
    ProfileFile file;
    file.Parse(w.Text());
    EXPECT_EQ(c.listed, SectionListsGame(file.GetSection("unity_games"), "tabla")) << c.before;
  }
}

}  // namespace
}  // namespace ld
