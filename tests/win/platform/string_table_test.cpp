#include "starter/platform/string_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kKorean = MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN);

// String `id` of one language's table as UTF-8, read straight from the
// resource block (16 counted UTF-16 strings per block), whatever table the
// system would pick. False when the block or the string is missing.
bool ReadTableString(unsigned id, WORD language, std::string* out) {
  out->clear();
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceExA(module, MAKEINTRESOURCEA(6) /* RT_STRING */,
                                  MAKEINTRESOURCEA(id / 16 + 1), language);
  if (found == nullptr) return false;
  HGLOBAL loaded = ::LoadResource(module, found);
  const WCHAR* entry = static_cast<const WCHAR*>(::LockResource(loaded));
  if (entry == nullptr) return false;
  for (unsigned index = 0; index < id % 16; ++index) entry += 1 + *entry;
  const int length = *entry;
  if (length == 0) return false;
  int size = ::WideCharToMultiByte(CP_UTF8, 0, entry + 1, length, nullptr, 0, nullptr, nullptr);
  out->resize(size);
  ::WideCharToMultiByte(CP_UTF8, 0, entry + 1, length, &(*out)[0], size, nullptr, nullptr);
  return true;
}

// The printf conversions of a text, with d and u taken as the same integer
// conversion (the Korean string 180 uses %u where the English uses %d).
std::string Conversions(const std::string& text) {
  std::string found;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '%') continue;
    char c = text[++i];
    if (c == '%') continue;
    found += (c == 'u') ? 'd' : c;
  }
  return found;
}

TEST(StringTableTest, BothTablesHoldEveryIdWithMatchingConversions) {
  for (unsigned id = IDS_FIRST_STRING; id <= IDS_LAST_STRING; ++id) {
    std::string english, korean;
    EXPECT_TRUE(ReadTableString(id, kEnglish, &english)) << "English string " << id;
    EXPECT_TRUE(ReadTableString(id, kKorean, &korean)) << "Korean string " << id;
    // A translation that drops or reorders a %s would crash the formatting.
    EXPECT_EQ(Conversions(english), Conversions(korean)) << "string " << id;
  }
  std::string none;
  EXPECT_FALSE(ReadTableString(IDS_FIRST_STRING - 1, kEnglish, &none));
  EXPECT_FALSE(ReadTableString(IDS_LAST_STRING + 1, kKorean, &none));
}

TEST(StringTableTest, TextsOthersCompareAgainstStayAsShipped) {
  struct Case {
    unsigned id;
    WORD language;
    const char* text;  // UTF-8
  };
  const Case cases[] = {
      {130, kEnglish, "en"},
      {130, kKorean, "ko"},
      {133, kEnglish, "Ludoria"},
      {133, kKorean, u8"루도리아"},
      {134, kEnglish, "%s Setup Wizard"},
      {134, kKorean, u8"%s 설치마법사"},
      {135, kEnglish, "Ludoria Starter"},
      {135, kKorean, u8"루도리아 설치마법사"},
      {137, kKorean, u8"루드스타터 수동설치"},
      {143, kKorean, u8"버전이 낮으니 최신 버전을 다운받아서 설치하십시오."},
      {145, kEnglish, "LudStarter is aleady running."},
      {146, kEnglish, "Not enough disk space for Ludoria Files."},
      {147, kEnglish, "Invalid game string."},
      {148, kEnglish, "<Unknown Error>"},
      {149, kEnglish, "Do you want to stop Ludoria Installation?"},
      {150, kEnglish, "MS Internet Explorer 4.0 or higher required."},
      {160, kEnglish, "Unable to get language information."},
      {161, kEnglish,
       "Ludoria installed folder information in Windows registry\nhas been corrupted."},
      {162, kEnglish, "( We will proceed by default value. )"},
      {163, kEnglish, "Failed to connect to the Internet to get game running information."},
      {164, kEnglish, "Unable to get game running information."},
      {166, kEnglish, "[Gamestring server]"},
      {176, kEnglish, "Failed to download the game running information file."},
      {177, kEnglish, "Failed to download the update list file."},
      {178, kEnglish, "The update list file downloaded, but cannot create local file."},
      {179, kEnglish,
       "Unable to download some game files.\n\nIt may fail if the server is busy.\nPlease try "
       "again later.\n\nInstallation process exit."},
      {192, kEnglish, "Select foler to install %s"},
      {193, kEnglish, "Path name is invalid."},
      {194, kEnglish, "Please input a valid absolute path name."},
      {195, kEnglish,
       "On Vista, 7 or higher Windows,\nfiles cannot be installed at the system folders.\nPlease "
       "specify a different path."},
      {208, kEnglish, "Create Ludoria shortcut on Desktop"},
      {224, kEnglish, "Checking LudStarter version..."},
      {225, kEnglish, "1) Connecting to G.S.server..."},
      {226, kEnglish, "2) Analyzing gamestring..."},
      {227, kEnglish, "3) Downloading game info..."},
      {228, kEnglish, "4) Processing file list..."},
      {229, kEnglish, "5) Checking packages..."},
      {230, kEnglish, "Checking files to update..."},
      {240, kEnglish, "Transfer rate : %s/sec"},
      {243, kEnglish, "%d %s [ %s done ]"},
      {244, kEnglish, "Decompressing..."},
      {245, kEnglish, "Preparing to run game. Wait a second..."},
      {256, kEnglish,
       "Unable to find the executable file <%s %s>.\nFailed to install the file needed to run "
       "the game."},
      {257, kEnglish, "Updated executables invalid.\nPlease re-run at Ludoria Web."},
      {258, kEnglish,
       "Unable to run the EXE file of this game.\nRemove the game, and re-install please."},
  };
  for (const Case& c : cases) {
    std::string text;
    ASSERT_TRUE(ReadTableString(c.id, c.language, &text)) << c.id;
    EXPECT_EQ(text, c.text) << "string " << c.id << " language " << c.language;
  }
}

TEST(StringTableTest, MultiLineTextsBeginAsGiven) {
  std::string text;
  ASSERT_TRUE(ReadTableString(IDS_NO_COMMANDLINE, kEnglish, &text));
  EXPECT_EQ(text.rfind("No commandline.\nPlease run the game at Ludoria Web.\n(", 0), 0u);
  EXPECT_EQ(text.back(), ')');
  ASSERT_TRUE(ReadTableString(IDS_FAIL_DELETE_OLDFILES, kEnglish, &text));
  EXPECT_EQ(text.rfind("Unable to delete some of the files that need to be updated. (count=%d)\n"
                       "Stop the installation? (Recommended)\n\nIf the problem persists even after "
                       "the computer restarts,\nplease contact Ludoria Customer Support.\n(",
                       0),
            0u);
  ASSERT_TRUE(ReadTableString(IDS_FAIL_DELETE_OLDFILES, kKorean, &text));
  EXPECT_NE(text.find("%u"), std::string::npos);
  ASSERT_TRUE(ReadTableString(IDS_IR_URL_STATUS, kEnglish, &text));
  char formatted[128];
  std::snprintf(formatted, sizeof(formatted), text.c_str(), 404, "[Gamestring server]");
  EXPECT_STREQ(formatted, "Unable to open the URL. (Code:404)\n[Gamestring server]");
}

TEST(StringTableTest, LoadTextCutsAtTheBufferAndReportsMissingIds) {
  LD_REQUIRE_TABLE("en");
  EXPECT_EQ(LoadText(IDS_CAPTION), "Ludoria Starter");
  EXPECT_EQ(LoadText(IDS_CAPTION, 8), "Ludoria");  // 7 bytes and the NUL
  std::string text = "stale";
  EXPECT_FALSE(TryLoadText(4000, 260, &text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(TryLoadText(IDS_CAPTION, 1, &text));
  EXPECT_TRUE(EnglishTableInUse());
}

TEST(KoreanTableStrings, LoadTextGivesCodePage949) {
  LD_REQUIRE_TABLE("ko");
  EXPECT_FALSE(EnglishTableInUse());
  // Both sides in code page 949: the literal is compiled to it.
  EXPECT_EQ(LoadText(IDS_CAPTION), "루도리아 설치마법사");
  EXPECT_EQ(LoadText(IDS_WINDOW_TITLE_FORMAT), "%s 설치마법사");
}

}  // namespace
}  // namespace ld
