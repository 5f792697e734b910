#include "core/install/zip_entry_path.h"

#include <gtest/gtest.h>

#include <string>

namespace ld {
namespace {

// Names a zip may carry, with where they land under "C:\Game" (or nothing
// when they must be refused).
TEST(ZipEntryOutputPath, SafeNamesLandUnderTheFolderUnsafeOnesNowhere) {
  struct Case {
    const char* name;
    const char* expected;  // nullptr: refused
  };
  const Case cases[] = {
      {"game.exe", "C:\\Game\\game.exe"},
      {"data/img/a.bmp", "C:\\Game\\data\\img\\a.bmp"},
      {"data\\img\\a.bmp", "C:\\Game\\data\\img\\a.bmp"},
      {"data/", "C:\\Game\\data"},  // a folder entry
      {"./a.txt", "C:\\Game\\.\\a.txt"},
      {"..a/b..", "C:\\Game\\..a\\b.."},
      {".hidden", "C:\\Game\\.hidden"},
      {"read me.txt", "C:\\Game\\read me.txt"},
      {"\xB7\xE7\xB5\xE5.txt", "C:\\Game\\\xB7\xE7\xB5\xE5.txt"},  // code page 949 bytes
      // Absolute names.
      {"/etc/passwd", nullptr},
      {"\\Windows\\evil.dll", nullptr},
      {"C:\\Windows\\evil.dll", nullptr},
      {"c:evil.dll", nullptr},
      {"a.txt:stream", nullptr},
      // Climbing out.
      {"..", nullptr},
      {"../evil.exe", nullptr},
      {"..\\evil.exe", nullptr},
      {"data/../../evil.exe", nullptr},
      {"data\\..\\x", nullptr},  // stays inside, but no name needs it
      {".. /evil.exe", nullptr},
      {"data/. ./x", nullptr},
      {"   /x", nullptr},
      // Control characters and the empty name.
      {"a\tb", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    const auto path = ZipEntryOutputPath("C:\\Game", c.name);
    if (c.expected == nullptr) {
      EXPECT_FALSE(path.has_value()) << "'" << c.name << "' gave " << path.value_or("");
      EXPECT_FALSE(IsSafeZipEntryName(c.name)) << c.name;
    } else {
      ASSERT_TRUE(path.has_value()) << c.name;
      EXPECT_EQ(c.expected, *path) << c.name;
    }
  }
}

TEST(ZipEntryOutputPath, FolderWithTrailingSeparatorGetsNoSecondOne) {
  EXPECT_EQ("C:\\Game\\a.exe", ZipEntryOutputPath("C:\\Game\\", "a.exe").value_or(""));
}

TEST(IsFolderZipEntry, TrailingSeparatorOnly) {
  EXPECT_TRUE(IsFolderZipEntry("data/"));
  EXPECT_TRUE(IsFolderZipEntry("data\\"));
  EXPECT_FALSE(IsFolderZipEntry("data/a"));
  EXPECT_FALSE(IsFolderZipEntry(""));
}

}  // namespace
}  // namespace ld
