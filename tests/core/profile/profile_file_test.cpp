#include "core/profile/profile_file.h"

#include <gtest/gtest.h>

#include <string>

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
}

using ProfileFileLoadTest = test::TempDirTest;

TEST_F(ProfileFileLoadTest, ReadsBytesAsWritten) {
  ProfileFile file;
  ASSERT_TRUE(file.Load(Write("a.ini", "[S]\r\nk=v\r\n")));
  EXPECT_EQ("v", file.GetString("S", "k", "d"));
}

TEST_F(ProfileFileLoadTest, MissingFileGivesDefaultsAndForgetsEarlierContent) {
  ProfileFile file;
  ASSERT_TRUE(file.Load(Write("a.ini", "[S]\nk=v\n")));
  EXPECT_FALSE(file.Load(Path("missing.ini")));
  EXPECT_EQ("d", file.GetString("S", "k", "d"));
  EXPECT_FALSE(file.Load(dir_.string()));  // a folder is no file
  EXPECT_EQ("d", file.GetString("S", "k", "d"));
}

TEST(ProfileFileTest, SectionNamesInFileOrder) {
  ProfileFile file;
  file.Parse("[A]\n[b]\n[A]\n");
  EXPECT_EQ((std::vector<std::string>{"A", "b", "A"}), file.SectionNames());
  file.Parse("k=1\n[A]\n");
  EXPECT_EQ((std::vector<std::string>{"", "A"}), file.SectionNames());
}

TEST(ProfileFileTest, NameHelpers) {
  EXPECT_TRUE(ProfileNameEquals("GameSpec.TABLA", "gamespec.tabla"));
  EXPECT_FALSE(ProfileNameEquals("tabla", "tabla "));
  EXPECT_FALSE(ProfileNameEquals("\xC5\xB8", "\xE5\xB8"));  // no folding above ASCII
  EXPECT_EQ("a b", TrimProfileSpace("\x1a\t a b \r\n\v\f"));
  // Only a leading 0 starts a prefix: "5x10" is 5, not 0x10.
  EXPECT_EQ(5, test::Parsed("[N]\nk=5x10\n").GetInt("N", "k", -1));
}

}  // namespace
}  // namespace ld
