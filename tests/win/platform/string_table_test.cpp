#include "starter/platform/string_table.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kKorean = MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN);

// String `id` of one language's table as UTF-8, read straight from the
// resource block (16 counted UTF-16 strings per block), whatever table the
// system would pick. "" when the block or the string is missing.
std::string TableString(unsigned id, WORD language) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceExA(module, MAKEINTRESOURCEA(6) /* RT_STRING */,
                                  MAKEINTRESOURCEA(id / 16 + 1), language);
  const WCHAR* entry =
      found ? static_cast<const WCHAR*>(::LockResource(::LoadResource(module, found))) : nullptr;
  if (entry == nullptr) return "";
  for (unsigned index = 0; index < id % 16; ++index) entry += 1 + *entry;
  std::string out(*entry * 3, '\0');
  out.resize(::WideCharToMultiByte(CP_UTF8, 0, entry + 1, *entry, &out[0],
                                   static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

// The printf conversions of a text, d and u taken as one (the Korean string
// 180 uses %u where the English uses %d).
std::string Conversions(const std::string& text) {
  std::string found;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '%' && text[++i] != '%') found += text[i] == 'u' ? 'd' : text[i];
  }
  return found;
}

TEST(StringTableTest, BothTablesHoldEveryIdWithMatchingConversions) {
  for (unsigned id = IDS_FIRST_STRING; id <= IDS_LAST_STRING; ++id) {
    const std::string english = TableString(id, kEnglish), korean = TableString(id, kKorean);
    EXPECT_FALSE(english.empty()) << "English string " << id;
    EXPECT_FALSE(korean.empty()) << "Korean string " << id;
    // A translation that drops or reorders a %s would crash the formatting.
    EXPECT_EQ(Conversions(english), Conversions(korean)) << "string " << id;
  }
}

// The texts the language check and the boxes' captions rely on, in both
// tables, and texts support staff quote. The portal's address follows 144 from
// the program's settings, so the table must not carry one of its own.
TEST(StringTableTest, KeyTextsInBothLanguages) {
  const struct {
    unsigned id;
    WORD language;
    const char* text;  // UTF-8
  } cases[] = {{130, kEnglish, "en"},
               {130, kKorean, "ko"},
               {135, kKorean, u8"루도리아 설치마법사"},
               {144, kEnglish, "No commandline.\nPlease run the game at Ludoria Web."},
               {167, kEnglish,
                "Gamestring is not valid.\nIt may fail if the server is busy. Please try again."},
               {168, kEnglish,
                "Gamestring is not valid.\nPlease try again after restart Internet Explorer."}};
  for (const auto& c : cases) EXPECT_EQ(TableString(c.id, c.language), c.text) << c.id;
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
