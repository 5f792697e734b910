// Runs the system's profile functions and the portable reader over the same
// files; they must give the same answers, and the answers recorded in the
// shared case table.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/catalogue_packages.h"
#include "core/profile/profile_file.h"
#include "starter/platform/profile_file_win.h"
#include "tests/core/profile/profile_cases.h"

namespace ld {
namespace {

class ProfileReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
    dir_ = std::string(temp) + "ld_profile_reader_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::string& f : files_) DeleteFileA(f.c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  // Every file gets a name of its own: the system caches profile files.
  std::string Path(const std::string& name) {
    std::string path = dir_ + "\\" + name + std::to_string(files_.size()) + ".ini";
    files_.push_back(path);
    return path;
  }
  std::string Write(const std::string& name, const std::string& text) {
    std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string dir_;
  std::vector<std::string> files_;
};

TEST_F(ProfileReaderTest, BothReadersGiveTheRecordedAnswers) {
  for (const test::ProfileCase& c : test::ProfileCases()) {
    std::string path = c.exists ? Write("case", c.text) : Path("missing");
    WinProfileFile system(path);
    ProfileFile portable;
    EXPECT_EQ(c.exists, portable.Load(path)) << c.name;
    for (const test::ProfileQuery& q : c.queries) {
      std::string got = test::Answer(system, q);
      EXPECT_EQ(got, test::Answer(portable, q)) << c.name << ": " << test::Describe(q);
      EXPECT_EQ(test::Expected(q), got) << c.name << ": " << test::Describe(q);
    }
  }
}

TEST_F(ProfileReaderTest, RelativePathIsNotLookedUpInTheWindowsFolder) {
  std::string path = Write("rel", "[S]\nk=here\n");
  char old_dir[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, old_dir);
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));
  WinProfileFile system(path.substr(path.rfind('\\') + 1));
  SetCurrentDirectoryA(old_dir);
  EXPECT_EQ(path, system.path());
  EXPECT_EQ("here", system.GetString("S", "k", "d"));
}

bool SameCatalogue(const Catalogue& a, const Catalogue& b) {
  for (int k = 0; k < kPackageKindCount; ++k)
    if (a.base_games[k] != b.base_games[k]) return false;
  return a.companion.file == b.companion.file && a.companion.all == b.companion.all &&
         a.companion.games == b.companion.games && a.shortcut.in_browser == b.shortcut.in_browser &&
         a.shortcut.url == b.shortcut.url && a.shortcut.name == b.shortcut.name &&
         a.shortcut.desc == b.shortcut.desc && a.shortcut.icon_path == b.shortcut.icon_path &&
         a.popup == b.popup && a.no_base2005 == b.no_base2005;
}

TEST_F(ProfileReaderTest, CatalogueReadsTheSameThroughBothReaders) {
  std::string path = Write("gamekind",
                           "[TABLA]\r\nGameID1=tabla\r\nGameID2=\r\nGameID3=deeprun\r\n"
                           "GameID5=lost\r\n[tabla_dx]\r\nGAMEID1= x \r\n[FLORAEX]\r\n"
                           "GameID1=\"deeprun\"\r\n[DEEPRUN]\r\nfile = dr.exe\r\nall=01\r\n"
                           "[GameSpec.DeepRun]\r\nShortCut_IE=TRUE\r\nShortCut_URL=http://h/p\r\n"
                           "ShortCut_desc=  d  \r\nShortCut_IconPath=/a/b.ico\r\n"
                           "[unity_games]\r\ntabla,DEEPRUN|z\r\n[no_base2005]\r\ndeeprun=1\r\n");
  for (const char* game : {"deeprun", "tabla", "x", "none"}) {
    Catalogue via_system, via_portable;
    ReadCatalogue(WinProfileFile(path), game, "Title", &via_system);
    ProfileFile portable;
    ASSERT_TRUE(portable.Load(path));
    ReadCatalogue(portable, game, "Title", &via_portable);
    EXPECT_TRUE(SameCatalogue(via_system, via_portable)) << game;
    EXPECT_EQ(NeededPackages(via_system, game).size(), NeededPackages(via_portable, game).size());
  }
  Catalogue c;
  ReadCatalogue(WinProfileFile(path), "deeprun", "Title", &c);
  EXPECT_EQ((std::vector<std::string>{"tabla", "deeprun"}), c.base_games[kPackageTabla]);
  EXPECT_EQ((std::vector<std::string>{"x"}), c.base_games[kPackageTablaDx]);
  EXPECT_EQ((std::vector<std::string>{"deeprun"}), c.base_games[kPackageFloraEx]);
  EXPECT_TRUE(c.companion.all);
  EXPECT_FALSE(c.shortcut.in_browser);
  EXPECT_EQ("Title", c.shortcut.name);
  EXPECT_EQ("d", c.shortcut.desc);
  EXPECT_EQ("a\\b.ico", c.shortcut.icon_path);
  EXPECT_TRUE(c.popup);
  EXPECT_FALSE(c.no_base2005);
}

}  // namespace
}  // namespace ld
