#include "core/settings/install_folder_rules.h"

#include <gtest/gtest.h>

namespace ld {

TEST(InstallFolderRules, LanguageOfLaunchString) {
  // The first "lang" wins, even inside another key's name; new launch
  // strings are always Korean.
  const std::string cases[][2] = {
      {"ludoria://h/s.asp?k22e=GAME&lang=KOREAN&k3e=x", "KOREAN"},
      {"ludoria://h/s.asp?k22e=GAME", ""},
      {"ludoria://h/s.asp?lang=&k3e=x", ""},
      {"ludoria://h/s.asp?lang", ""},
      {"ludoria://h/s.asp?xlang=A&lang=B", "A"},
      {"ludoria://P=&P0=eA==&lang=ENGLISH", "KOREAN"},
  };
  const auto kOld = GamestringFormat::kOld, kNew = GamestringFormat::kNew;
  for (const auto& c : cases)
    EXPECT_EQ(LanguageOfLaunchString(c[0], c[0][10] == 'P' ? kNew : kOld), c[1]) << c[0];
  EXPECT_EQ(RegistryKeyForLanguage("KOREAN"), "Software\\Ludoria.Com\\KOREAN");
  EXPECT_EQ(RegistryKeyForLanguage(std::string(400, 'L')).size(), kRegistryKeyCapacity - 1);
}

TEST(InstallFolderRules, StoredHome) {
  // home, folder after the check, install root ("" when the home is damaged)
  const std::string cases[][3] = {
      {"C:\\Ludoria\\KOREAN", "C:\\Ludoria\\KOREAN", "C:\\Ludoria"},
      {"C:\\Games\\korean", "C:\\Games\\KOREAN", "C:\\Games"},  // upper-cased, then it matches
      {"C:\\L\\KOREAN\\Sub\\KOREAN", "C:\\L\\KOREAN\\Sub\\KOREAN", "C:\\L"},
      {"C:\\Other", "C:\\OTHER", ""},
      {"KOREAN", "KOREAN", ""},
      {"", "", ""},
      {"C:\\Games\\koreans", "C:\\Games\\KOREANS", ""},
  };
  for (const auto& c : cases) {
    const StoredHome home = AnalyseStoredHome(c[0], "KOREAN");
    EXPECT_EQ(home.folder + "|" + home.install_root, c[1] + "|" + c[2]) << c[0];
    EXPECT_EQ(home.damaged, c[2].empty()) << c[0];
  }
  // 0xB0 0x61 is one code page 949 character whose trail byte is 'a'.
  std::string text = "az\xB0" + std::string("ac\xB0");
  UpperCaseMultiByte(text);
  EXPECT_EQ(text, "AZ\xB0" + std::string("aC\xB0"));
  EXPECT_EQ(InstallRootOrDefault("", 'C'), "C:\\Ludoria");
  EXPECT_EQ(InstallRootOrDefault("D:\\Games\\", 'C'), "D:\\Games\\");
  EXPECT_EQ(LanguageFolder("D:\\Games\\", "KOREAN"), "D:\\Games\\KOREAN");
  EXPECT_EQ(LanguageFolder("C:\\Ludoria", "KOREAN"), "C:\\Ludoria\\KOREAN");
  // A root that fills the buffer never yields a folder past it.
  EXPECT_EQ(LanguageFolder(std::string(300, 'r'), "KOREAN").size(), kFolderCapacity - 1);
}

}  // namespace ld
