#include "core/profile/profile_file.h"

#include <gtest/gtest.h>

#include "core/profile/profile_writer.h"

#include "tests/core/profile/profile_cases.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

// The answers were taken from the system's profile functions; the Windows
// test checks them again there.
TEST(ProfileFileTest, AnswersAsTheSystemDoes) {
  for (const test::ProfileCase& c : test::ProfileCases()) {
    ProfileFile file;
    if (c.exists) file.Parse(c.text);
    for (const test::ProfileQuery& q : c.queries)
      EXPECT_EQ(test::Expected(q), test::Answer(file, q)) << c.name << ": " << test::Describe(q);
  }
  EXPECT_FALSE(ProfileNameEquals("tabla", "tabla ") || ProfileNameEquals("\xC5\xB8", "\xE5\xB8"));
  // Only a leading 0 starts a prefix: "5x10" is 5, not 0x10.
  EXPECT_EQ(test::Parsed("[N]\nk=5x10\n").GetInt("N", "k", -1), 5);
}

TEST(ProfileWriterTest, SetValueKeepsEverythingElse) {
  // before, section, key, after SetValue(section, key, "v")
  const std::string cases[][4] = {
      {"", "S", "k", "[S]\r\nk=v\r\n"},
      {"; head\n[s]\n  Key = old \nother=1\n", "S", "key", "; head\n[s]\nKey=v\nother=1\n"},
      {"[S]\na=1\n[S]\nk=2\n", "S", "k", "[S]\na=1\nk=v\n[S]\nk=2\n"},
      {"[A]\na=1\n\n[B]\nb=1\n", "A", "k", "[A]\na=1\nk=v\n\n[B]\nb=1\n"},
      {"[A]\r\na=1", "B", "k", "[A]\r\na=1\r\n\r\n[B]\r\nk=v\r\n"},
      {"k=0\n[x]y]\n", "x]y", "k", "k=0\n[x]y]\nk=v\n"},
      {"[S]\n", "", "k", "[S]\n"},
      {"\xEF\xBB\xBF[S]\n", "S", "k", "\xEF\xBB\xBF[S]\nk=v\n"},
  };
  for (const auto& c : cases) {
    ProfileWriter w;
    w.SetText(c[0]);
    w.SetValue(c[1], c[2], "v");
    EXPECT_EQ(w.Text(), c[3]) << c[0];
  }
}

TEST(ProfileWriterTest, KeysAndLines) {
  ProfileWriter w;
  w.SetText("[S]\nk=1\na=2\nK=3\n[T]\nk=4\n[L]\r\nTabla\r\na\r\nA\r\n");
  EXPECT_TRUE(w.RemoveKey("s", "k"));  // every duplicate
  EXPECT_FALSE(w.RemoveKey("S", "k") || w.RemoveKey("X", "a"));
  EXPECT_FALSE(w.AddLine("L", " tabla "));
  EXPECT_TRUE(w.AddLine("L", "deeprun") && w.AddLine("M", "x"));
  EXPECT_EQ(w.RemoveLine("L", "a"), 2);
  EXPECT_EQ(w.Text(), "[S]\na=2\n[T]\nk=4\n[L]\r\nTabla\r\ndeeprun\n\n[M]\nx\n");
}

using ProfileFilesTest = test::TempDirTest;

TEST_F(ProfileFilesTest, LoadAndSave) {
  ProfileFile file;
  ASSERT_TRUE(file.Load(Write("a.ini", "[S]\r\nk=v\r\n")));
  EXPECT_EQ(file.GetString("S", "k", "d"), "v");
  EXPECT_FALSE(file.Load(dir_.string()));         // a folder is no file
  EXPECT_EQ(file.GetString("S", "k", "d"), "d");  // nor is what was read before

  ProfileWriter w;
  ASSERT_TRUE(w.Load(Path("g.ini")));  // missing: empty document
  w.SetValue("T", "a", "1");
  ASSERT_TRUE(w.Save(Path("g.ini")) && w.Save(Path("g.ini")));  // replaces the file
  EXPECT_FALSE(std::filesystem::exists(Path("g.ini.tmp")));
  EXPECT_TRUE(w.Load(Path("g.ini")) && w.Text() == "[T]\r\na=1\r\n");
  EXPECT_FALSE(w.Load(dir_.string()) || w.Save(Path("no/such/x.ini")));
}

}  // namespace
}  // namespace ld
