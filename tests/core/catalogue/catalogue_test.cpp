#include "core/catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/profile/profile_file.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

using Words = std::vector<std::string>;

using test::Parsed;

std::string Join(const Words& words) {
  std::string s;
  for (const std::string& w : words) s += (s.empty() ? "" : ",") + w;
  return s;
}

// "bases[2]=a,b bases[3]=c companion=file:0:g1,g2 shortcut=1|url|name|desc|icon popup=1 no2005=0"
std::string Describe(const Catalogue& c) {
  std::string s;
  for (int kind = 0; kind < kPackageKindCount; ++kind)
    if (!c.base_games[kind].empty())
      s += "bases[" + std::to_string(kind) + "]=" + Join(c.base_games[kind]) + " ";
  const ShortcutSettings& sc = c.shortcut;
  return s + "companion=" + c.companion.file + ":" + std::to_string(c.companion.all) + ":" +
         Join(c.companion.games) + " shortcut=" + std::to_string(sc.in_browser) + "|" + sc.url +
         "|" + sc.name + "|" + sc.desc + "|" + sc.icon_path + " popup=" + std::to_string(c.popup) +
         " no2005=" + std::to_string(c.no_base2005);
}

TEST(CatalogueTest, GameIdListStopsAtFirstAbsentKeyAndSkipsEmptyValues) {
  struct Case {
    const char* text;
    Words games;
  } cases[] = {
      {"[S]\nGameID1=a\nGameID3=c\n", {"a"}},
      {"[S]\nGameID1=a\nGameID2=\nGameID3=c\n", {"a", "c"}},
      {"[S]\nGameID2=b\n", {}},
      {"[S]\ngameid1=a\nGAMEID2=b\n", {"a", "b"}},
      {"[S]\nGameID1=x\nGameID2=\"\"\nGameID3=y\n", {"x", "y"}},  // x is present, not a default
      {"[S]\nGameID1=a\nGameID2\nGameID3=c\n", {"a"}},            // no "=": absent
      {"[S]\nGameID2=b\nGameID1=a\n", {"a", "b"}},                // key order, not file order
      {"[S]\nGameID1=a\n[S]\nGameID2=b\n", {"a"}},                // first section only
      {"[S]\nGameID01=a\n", {}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.games, ReadGameIdList(Parsed(c.text), "S")) << c.text;
}

TEST(CatalogueTest, PresenceTellsTheDefaultsApart) {
  ProfileFile file = Parsed("[S]\nx=x\nempty=\nbare\n");
  std::string value;
  EXPECT_TRUE(ReadPresentKey(file, "S", "x", &value));
  EXPECT_EQ("x", value);
  EXPECT_TRUE(ReadPresentKey(file, "S", "empty", &value));
  EXPECT_EQ("", value);
  EXPECT_FALSE(ReadPresentKey(file, "S", "bare", &value));
  EXPECT_FALSE(ReadPresentKey(file, "S", "missing", &value));
}

TEST(CatalogueTest, SectionWordLists) {
  struct Case {
    Words lines;
    const char* game;
    bool listed;
  } cases[] = {
      {{"tabla, deeprun"}, "tabla", true},
      {{"tabla, deeprun"}, "DeepRun", true},
      {{"a&b/c|d\te"}, "c", true},
      {{"a", "tabla"}, "tabla", true},
      {{"TABLA=1"}, "tabla", false},
      {{"TABLA=1"}, "TABLA=1", true},
      {{"tablax"}, "tabla", false},
      {{"a;b"}, "a", false},
      {{"\x01tabla"}, "\x01tabla", false},  // a word must start printable
      {{"\xC5\xB8game"}, "\xC5\xB8game", false},
      {{""}, "", false},
      {{}, "tabla", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.listed, SectionListsGame(c.lines, c.game)) << c.game;
  EXPECT_EQ((Words{"a", "b", "c"}), SplitSectionWords(" a,,b |c "));
}

TEST(CatalogueTest, IconPath) {
  EXPECT_EQ("common\\Images\\x.ico", NormaliseShortcutIconPath("/common/Images/x.ico"));
  EXPECT_EQ("\\x.ico", NormaliseShortcutIconPath("//x.ico"));
  EXPECT_EQ("c:\\x.ico", NormaliseShortcutIconPath("c:\\x.ico"));
  EXPECT_EQ("", NormaliseShortcutIconPath("/"));
  EXPECT_EQ("", NormaliseShortcutIconPath(""));
}

const char kCatalogue[] =
    "[TABLA]\nGameID1=tabla\nGameID2=deeprun\n"
    "[TABLA_DX]\nGameID1=tbx\n"
    "[FLORAEX]\nGameID1=deeprun\n"
    "[LEISUREDECK]\nGameID1=lsgame\n"
    "[DEEPRUN]\nfile=runner.exe\nall=0\nGameID1=tabla\nGameID2=deeprun\n"
    "[GameSpec.deeprun]\nShortCut_IE=true\nShortCut_URL=http://portal/deeprun\n"
    "ShortCut_Name=Deep Run\nShortCut_desc=Run deep\nShortCut_IconPath=/common/dr.ico\n"
    "[GameSpec.tabla]\nShortCut_IE=TRUE\nShortCut_URL=\nShortCut_Name=ignored\n"
    "[unity_games]\ntabla, deeprun\n"
    "[no_base2005]\nlsgame\n";

TEST(CatalogueTest, ReadsEveryValue) {
  Catalogue c;
  ReadCatalogue(Parsed(kCatalogue), "deeprun", "title", &c);
  EXPECT_EQ(
      "bases[2]=tabla,deeprun bases[3]=tbx bases[4]=deeprun bases[5]=lsgame "
      "companion=runner.exe:0:tabla,deeprun "
      "shortcut=1|http://portal/deeprun|Deep Run|Run deep|common\\dr.ico popup=1 no2005=0",
      Describe(c));
}

TEST(CatalogueTest, EmptyAddressKeepsEarlierShortcutFields) {
  Catalogue c;
  ReadCatalogue(Parsed(kCatalogue), "deeprun", "title", &c);
  ReadCatalogue(Parsed(kCatalogue), "tabla", "title", &c);
  // "TRUE" is not "true".
  EXPECT_NE(Describe(c).find(" shortcut=0||Deep Run|Run deep|common\\dr.ico "), std::string::npos);
}

TEST(CatalogueTest, DefaultsAndReload) {
  Catalogue c;
  ReadCatalogue(Parsed(kCatalogue), "deeprun", "title", &c);
  // A second load from an empty file must not keep the first load's lists.
  ReadCatalogue(Parsed(""), "lsgame", "title", &c);
  EXPECT_EQ(0u, Describe(c).find("companion=:0: shortcut="));
  EXPECT_NE(Describe(c).find(" popup=0 no2005=0"), std::string::npos);

  ReadCatalogue(Parsed("[GameSpec.g]\nShortCut_URL=u\n"), "g", "Fallback Title", &c);
  EXPECT_EQ("Fallback Title", c.shortcut.name);
  ReadCatalogue(Parsed("[GameSpec.g]\nShortCut_URL=u\nShortCut_Name=\n"), "g", "T", &c);
  EXPECT_EQ("", c.shortcut.name);
  ReadCatalogue(Parsed("[gamespec.G]\nshortcut_url=u\nshortcut_name=N\n"), "g", "T", &c);
  EXPECT_EQ("N", c.shortcut.name);
}

TEST(CatalogueTest, CompanionForAllGamesSkipsItsList) {
  struct Case {
    const char* all;
    bool expect_all;
  } cases[] = {{"1", true},     {"01", true}, {" 1 ", true}, {"2", false},
               {"true", false}, {"", false},  {"0x1", true}};
  for (const Case& k : cases) {
    Catalogue c;
    ReadCatalogue(Parsed(std::string("[DEEPRUN]\nfile=r.exe\nall=") + k.all + "\nGameID1=a\n"), "b",
                  "", &c);
    EXPECT_EQ(k.expect_all, c.companion.all) << k.all;
    EXPECT_EQ(k.expect_all ? Words{} : Words{"a"}, c.companion.games) << k.all;
    EXPECT_EQ(k.expect_all, CompanionRunsFor(c.companion, "b")) << k.all;
    EXPECT_TRUE(CompanionRunsFor(c.companion, "a"));
    EXPECT_FALSE(CompanionRunsFor(c.companion, "A") && !k.expect_all);
  }
  CompanionProgram nameless;
  nameless.all = true;
  EXPECT_FALSE(CompanionRunsFor(nameless, "a"));
}

TEST(CatalogueTest, WordListLongerThanTheSystemsSectionBuffer) {
  // The system reads a section into 512 bytes at first; the game listed at
  // the end of a long list still counts.
  std::string text = "[unity_games]\n";
  for (int i = 0; i < 100; ++i) text += "game" + std::to_string(i) + "\n";
  text += "late\n";
  Catalogue c;
  ReadCatalogue(Parsed(text), "late", "", &c);
  EXPECT_TRUE(c.popup);
}

}  // namespace
}  // namespace ld
