#include "core/profile/profile_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/profile/profile_file.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

std::string Edit(const std::string& text, void (*edit)(ProfileWriter&)) {
  ProfileWriter w;
  w.SetText(text);
  edit(w);
  return w.Text();
}

TEST(ProfileWriterTest, SetValueCases) {
  struct Case {
    const char* name;
    std::string before;
    void (*edit)(ProfileWriter&);
    std::string after;
  } cases[] = {
      {"new file gets CRLF", "", [](ProfileWriter& w) { w.SetValue("S", "k", "v"); },
       "[S]\r\nk=v\r\n"},
      {"replace keeps spelling and other lines", "; head\n[s]\n  Key = old \nother=1\n",
       [](ProfileWriter& w) { w.SetValue("S", "key", "new"); }, "; head\n[s]\nKey=new\nother=1\n"},
      {"first of duplicate keys", "[S]\nk=1\nk=2\n",
       [](ProfileWriter& w) { w.SetValue("S", "K", "x"); }, "[S]\nk=x\nk=2\n"},
      {"first of duplicate sections", "[S]\na=1\n[S]\nk=2\n",
       [](ProfileWriter& w) { w.SetValue("S", "k", "x"); }, "[S]\na=1\nk=x\n[S]\nk=2\n"},
      {"added after the last line, before blank lines", "[A]\na=1\n\n[B]\nb=1\n",
       [](ProfileWriter& w) { w.SetValue("A", "k", "v"); }, "[A]\na=1\nk=v\n\n[B]\nb=1\n"},
      {"new section after a blank line", "[A]\r\na=1",
       [](ProfileWriter& w) { w.SetValue("B", "k", "v"); }, "[A]\r\na=1\r\n\r\n[B]\r\nk=v\r\n"},
      {"line without = becomes a value", "[S]\nk\n",
       [](ProfileWriter& w) { w.SetValue("S", "k", "v"); }, "[S]\nk=v\n"},
      {"comment with the same text is no key", "[S]\n;k=c\n",
       [](ProfileWriter& w) { w.SetValue("S", "k", "v"); }, "[S]\n;k=c\nk=v\n"},
      {"keys before the first header are not the section's", "k=0\n[S]\n",
       [](ProfileWriter& w) { w.SetValue("S", "k", "v"); }, "k=0\n[S]\nk=v\n"},
      {"empty section name does nothing", "[S]\n",
       [](ProfileWriter& w) { w.SetValue("", "k", "v"); }, "[S]\n"},
      {"byte order mark kept", "\xEF\xBB\xBF[S]\n",
       [](ProfileWriter& w) { w.SetValue("S", "k", "v"); }, "\xEF\xBB\xBF[S]\nk=v\n"},
      {"remove every duplicate", "[S]\nk=1\na=2\nK=3\n[T]\nk=4\n",
       [](ProfileWriter& w) { EXPECT_TRUE(w.RemoveKey("s", "k")); }, "[S]\na=2\n[T]\nk=4\n"},
      {"remove missing", "[S]\na=2\n",
       [](ProfileWriter& w) {
         EXPECT_FALSE(w.RemoveKey("S", "k"));
         EXPECT_FALSE(w.RemoveKey("X", "a"));
       },
       "[S]\na=2\n"},
      {"add line once", "[L]\r\nTabla\r\n",
       [](ProfileWriter& w) {
         EXPECT_FALSE(w.AddLine("L", " tabla "));
         EXPECT_TRUE(w.AddLine("L", "deeprun"));
         EXPECT_TRUE(w.AddLine("M", "x"));
       },
       "[L]\r\nTabla\r\ndeeprun\r\n\r\n[M]\r\nx\r\n"},
      {"remove line", "[L]\na\nA\nb\n[M]\na\n",
       [](ProfileWriter& w) { EXPECT_EQ(2, w.RemoveLine("L", "a")); }, "[L]\nb\n[M]\na\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.after, Edit(c.before, c.edit)) << c.name;
}

TEST(ProfileWriterTest, UntouchedTextRoundTripsByteForByte) {
  const std::string texts[] = {"", "[S]\r\nk=v", "a\rb\nc\r\n\r\n", "\xEF\xBB\xBF\n\n",
                               "[S]\n\tk = v ; c\n"};
  for (const std::string& t : texts) {
    ProfileWriter w;
    w.SetText(t);
    EXPECT_EQ(t, w.Text());
  }
}

TEST(ProfileWriterTest, ReadersSeeWhatWasSet) {
  ProfileWriter w;
  w.SetText("[GameSpec.tabla]\nShortCut_URL=old\n[x]y]\nk=1\n");
  w.SetValue("gamespec.TABLA", "shortcut_url", "http://new");
  w.SetValue("GameSpec.tabla", "ShortCut_Name", "Tabla Game");
  w.SetValue("x]y", "k", "2");
  ProfileFile file;
  file.Parse(w.Text());
  EXPECT_EQ("http://new", file.GetString("GameSpec.tabla", "ShortCut_URL", "d"));
  EXPECT_EQ("Tabla Game", file.GetString("GameSpec.tabla", "ShortCut_Name", "d"));
  EXPECT_EQ("2", file.GetString("x]y", "k", "d"));
}

TEST(ProfileWriterTest, EditLinesRewritesAndDrops) {
  ProfileWriter w;
  w.SetText("[L]\n a,b \n\nc\n[M]\nc\n");
  EXPECT_TRUE(w.EditLines("L", [](std::string& line) {
    if (line == "c") return false;
    line = "x";
    return true;
  }));
  EXPECT_EQ("[L]\nx\n\n[M]\nc\n", w.Text());
  EXPECT_FALSE(w.EditLines("missing", [](std::string&) { return false; }));
}

using ProfileWriterFileTest = test::TempDirTest;

TEST_F(ProfileWriterFileTest, LoadSaveReplacesTheFile) {
  const std::string path = Path("gamekind.ini");
  ProfileWriter w;
  ASSERT_TRUE(w.Load(path));  // missing: empty document
  w.SetValue("TABLA", "GameID1", "tabla");
  ASSERT_TRUE(w.Save(path));
  w.SetValue("TABLA", "GameID2", "deeprun");
  ASSERT_TRUE(w.Save(path));
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

  ProfileWriter again;
  ASSERT_TRUE(again.Load(path));
  EXPECT_EQ("[TABLA]\r\nGameID1=tabla\r\nGameID2=deeprun\r\n", again.Text());
}

TEST_F(ProfileWriterFileTest, FailuresAreReported) {
  ProfileWriter w;
  EXPECT_FALSE(w.Load(dir_.string()));  // a folder
  EXPECT_EQ("", w.Text());
  EXPECT_FALSE(w.Save(Path("no/such/x.ini")));
}

}  // namespace
}  // namespace ld
