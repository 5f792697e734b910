#include "starter/settings/starter_options.h"

#include <gtest/gtest.h>

#include <string>

#include "starter/app/starter_app.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::ScratchFolder;

TEST(ProgramFolderTest, KeepsTheLastBackslash) {
  struct Case {
    const char* path;
    const char* folder;
  };
  const Case cases[] = {
      {"C:\\Users\\p\\AppData\\Roaming\\Ludoria\\ldstarter.exe",
       "C:\\Users\\p\\AppData\\Roaming\\Ludoria\\"},
      {"C:\\ldstarter.exe", "C:\\"},
      {"ldstarter.exe", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgramFolderOf(c.path), c.folder) << c.path;
  std::string self = ProgramPath();
  EXPECT_NE(self.find("win_tests"), std::string::npos) << self;
}

class StarterOptionsTest : public ::testing::Test {
 protected:
  std::string Folder() const { return scratch_.path() + "\\"; }
  void WriteIni(const std::string& text) {
    ScratchFolder::WriteFile(Folder() + "ldstarter.ini", text);
  }
  ScratchFolder scratch_;
};

TEST_F(StarterOptionsTest, NothingBesideTheProgramGivesTheDefaults) {
  StarterOptions options = ReadStarterOptions(Folder());
  EXPECT_EQ(options.options_path, Folder() + "ldstarter.ini");
  EXPECT_EQ(options.show_gamestring_in_alpha, 0);
  EXPECT_EQ(options.strong, 0);
  EXPECT_EQ(options.default_install_dir, "");
  EXPECT_FALSE(options.kind_marker);
  EXPECT_FALSE(options.KindMode());
  EXPECT_EQ(options.hosts.Host(HostKind::kRealDownload),
            ServerHosts().Host(HostKind::kRealDownload));
}

TEST_F(StarterOptionsTest, ReadsEveryKeyOfTheOptionsFile) {
  const std::string long_dir = "D:\\" + std::string(1500, 'g');
  WriteIni(
      "[check]\r\nShowGamestringInAlpha=1\r\nstrong=0\r\n"
      "[private]\r\nDefaultInstallDir=" +
      long_dir +
      "\r\n"
      "[servers]\r\nreal_download=127.0.0.1:8080\r\ntracebook=127.0.0.1:8081\r\n"
      "real_plum=127.0.0.1:8082\r\nplum_https_port=8443\r\n");
  StarterOptions options = ReadStarterOptions(Folder());
  EXPECT_EQ(options.show_gamestring_in_alpha, 1);
  EXPECT_FALSE(options.KindMode());
  EXPECT_EQ(options.default_install_dir, long_dir.substr(0, 1023));
  EXPECT_EQ(options.hosts.Host(HostKind::kRealDownload), "127.0.0.1:8080");
  EXPECT_EQ(options.hosts.Host(HostKind::kPortal), ServerHosts().Host(HostKind::kPortal));
  EXPECT_EQ(options.report_hosts.collection, "127.0.0.1:8081");
  EXPECT_EQ(options.plum_hosts.real, "127.0.0.1:8082");
  EXPECT_EQ(options.plum_hosts.https_port, 8443);
  EXPECT_EQ(options.plum_hosts.dev, PlumHosts().dev);
}

TEST_F(StarterOptionsTest, KindModeFromTheMarkerFileOrStrong) {
  struct Case {
    const char* ini;
    bool marker_file;
    bool marker_folder;
    bool kind;
  };
  const Case cases[] = {
      {"", false, false, false},
      {"[check]\r\nstrong=2\r\n", false, false, true},
      {"[check]\r\nstrong=0\r\n", true, false, true},
      {"[check]\r\nstrong=abc\r\n", false, false, false},
      {"", false, true, false},  // a folder of that name is no marker
  };
  for (const Case& c : cases) {
    ScratchFolder scratch;
    std::string folder = scratch.path() + "\\";
    ScratchFolder::WriteFile(folder + "ldstarter.ini", c.ini);
    if (c.marker_file) ScratchFolder::WriteFile(folder + "_kind_.txt", "");
    if (c.marker_folder) ::CreateDirectoryA((folder + "_kind_.txt").c_str(), nullptr);
    StarterOptions options = ReadStarterOptions(folder);
    EXPECT_EQ(options.KindMode(), c.kind) << c.ini << " " << c.marker_file << c.marker_folder;

    ProgramFlags flags;
    ApplyStartupOptions(options, &flags);
    EXPECT_EQ(flags.kind_mode, c.kind);
  }
}

TEST_F(StarterOptionsTest, ShowGamestringWishGoesToTheFlags) {
  WriteIni("[check]\r\nShowGamestringInAlpha=7\r\n");
  ProgramFlags flags;
  ApplyStartupOptions(ReadStarterOptions(Folder()), &flags);
  EXPECT_TRUE(flags.show_gamestring);
  EXPECT_FALSE(flags.kind_mode);
}

}  // namespace
}  // namespace ld
