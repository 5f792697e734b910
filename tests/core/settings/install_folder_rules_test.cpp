#include "core/settings/install_folder_rules.h"

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(InstallFolderRules, LanguageOfLaunchString) {
  struct Case {
    const char* text;
    GamestringFormat format;
    const char* language;
  } cases[] = {
      {"ludoria://h/s.asp?k22e=GAME&lang=KOREAN&k3e=x", GamestringFormat::kOld, "KOREAN"},
      {"ludoria://h/s.asp?lang=ENGLISH", GamestringFormat::kOld, "ENGLISH"},
      {"ludoria://h/s.asp?k22e=GAME", GamestringFormat::kOld, ""},
      {"ludoria://h/s.asp?lang=&k3e=x", GamestringFormat::kOld, ""},
      {"ludoria://h/s.asp?lang", GamestringFormat::kOld, ""},
      // The first "lang" wins, even inside another key's name.
      {"ludoria://h/s.asp?xlang=A&lang=B", GamestringFormat::kOld, "A"},
      {"ludoria://P=&P0=eA==&lang=ENGLISH", GamestringFormat::kNew, "KOREAN"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageOfLaunchString(c.text, c.format), c.language) << c.text;
  }
}

TEST(InstallFolderRules, RegistryKeyIsCutToItsBuffer) {
  EXPECT_EQ(RegistryKeyForLanguage("KOREAN"), "Software\\Ludoria.Com\\KOREAN");
  std::string key = RegistryKeyForLanguage(std::string(400, 'L'));
  EXPECT_EQ(key.size(), kRegistryKeyCapacity - 1);
}

TEST(InstallFolderRules, StoredHome) {
  struct Case {
    const char* home;
    bool damaged;
    const char* folder;
    const char* root;
  } cases[] = {
      {"C:\\Ludoria\\KOREAN", false, "C:\\Ludoria\\KOREAN", "C:\\Ludoria"},
      // The last component is upper-cased in place and then matches.
      {"C:\\Games\\korean", false, "C:\\Games\\KOREAN", "C:\\Games"},
      // Cut at the first "\KOREAN".
      {"C:\\Ludoria\\KOREAN\\Sub\\KOREAN", false, "C:\\Ludoria\\KOREAN\\Sub\\KOREAN",
       "C:\\Ludoria"},
      {"C:\\Other", true, "C:\\OTHER", ""},
      {"KOREAN", true, "KOREAN", ""},
      {"", true, "", ""},
      {"C:\\Games\\koreans", true, "C:\\Games\\KOREANS", ""},
  };
  for (const Case& c : cases) {
    StoredHome home = AnalyseStoredHome(c.home, "KOREAN");
    EXPECT_EQ(home.damaged, c.damaged) << c.home;
    EXPECT_EQ(home.folder, c.folder) << c.home;
    EXPECT_EQ(home.install_root, c.root) << c.home;
  }
}

TEST(InstallFolderRules, UpperCaseLeavesDoubleByteCharactersAlone) {
  // 0xB0 0x61 is one code page 949 character whose trail byte is 'a'.
  std::string text =
      "az\xB0"
      "a"
      "c";
  UpperCaseMultiByte(text);
  EXPECT_EQ(text,
            "AZ\xB0"
            "a"
            "C");
  std::string lone_lead = "x\xB0";
  UpperCaseMultiByte(lone_lead);
  EXPECT_EQ(lone_lead, "X\xB0");
}

TEST(InstallFolderRules, InstallRootAndLanguageFolder) {
  EXPECT_EQ(InstallRootOrDefault("", 'C'), "C:\\Ludoria");
  EXPECT_EQ(InstallRootOrDefault("D:\\Games\\", 'C'), "D:\\Games\\");
  EXPECT_EQ(LanguageFolder("D:\\Games\\", "KOREAN"), "D:\\Games\\KOREAN");
  EXPECT_EQ(LanguageFolder("C:\\Ludoria", "KOREAN"), "C:\\Ludoria\\KOREAN");
  // A root that fills the buffer never yields a folder past it.
  EXPECT_EQ(LanguageFolder(std::string(300, 'r'), "KOREAN").size(), kFolderCapacity - 1);
}

}  // namespace
}  // namespace ld
