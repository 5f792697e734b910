#include "core/update_list/update_list_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "core/update_list/update_list_parser.h"
#include "tests/core/support/test_support.h"
#include "tests/core/update_list/update_list_describe.h"

namespace ld {
namespace {

UpdateListFolders Folders() {
  UpdateListFolders f;
  f.windows = "D:\\Win";
  f.system = "D:\\Win\\sys";
  f.temp = "E:\\tmp\\";
  return f;
}

UpdateFileEntry File(const std::string& name, uint32_t checksum, uint32_t size, uint32_t zip,
                     TimeValue time) {
  UpdateFileEntry f;
  f.name = name;
  f.checksum = checksum;
  f.size = size;
  f.zip_size = zip;
  f.time = time;
  return f;
}

UpdateList Rich(const char* version) {
  UpdateList l;
  l.project_name = "Tabla";
  l.publication_time = TimeFromFields(2007, 3, 15, 12, 34, 56);
  l.total_checksum = -7;
  l.total_file_count = 4;
  l.total_zip_size = 2147483647;
  l.download_url = "http://dl.example.test/dist/a\"b";
  l.version = version;
  const TimeValue winter = TimeFromFields(2010, 1, 2, 3, 4, 5);
  const TimeValue summer = TimeFromFields(2024, 7, 31, 23, 59, 59);
  l.install.push_back(
      {"\\",
       {File("game.exe", 4294967295u, 2147483648u, 0, winter), File("read me.txt", 1, 2, 3, 0)}});
  l.install.push_back({"\\data\\img", {File("a b ", 0, 0, 0, summer)}});
  l.install.push_back({"\\empty", {}});
  l.install.push_back({"D:\\Win\\Fonts", {File("f.ttf", 9, 9, 9, summer)}});
  l.install.push_back({"D:\\Win\\sys", {File("x.dll", 1, 1, 1, winter)}});
  l.install.push_back({"E:\\tmp\\t", {File("t.bin", 1, 1, 1, winter)}});
  l.install.push_back({"D:\\Win", {File("w.ini", 1, 1, 1, winter)}});
  l.uninstall.push_back({"\\old dir", {File("gone.dll", 0, 0, 0, 0), File("x y", 0, 0, 0, 0)}});
  l.setup_install.push_back({"\\setup", {File("dx.zip", 5, 6, 4000000000u, winter)}});
  return l;
}

UpdateList ReadBack(const std::string& text) {
  UpdateList l;
  ParseUpdateList(text, Folders(), &l);
  return l;
}

TEST(UpdateListWriter, RoundTripsBothLayouts) {
  for (const char* version : {"1.0.0", "1.5.0", "2.0 beta"}) {
    const UpdateList original = Rich(version);
    std::string text, error;
    ASSERT_TRUE(WriteUpdateListText(original, Folders(), &text, &error)) << error;
    const UpdateList back = ReadBack(text);
    EXPECT_EQ(test::Describe(back), test::Describe(original)) << text;
    EXPECT_EQ(back, original);
    EXPECT_EQ(back.IsNewerLayout(), original.IsNewerLayout());
  }
}

TEST(UpdateListWriter, EmptyDocumentRoundTrips) {
  std::string text, error;
  ASSERT_TRUE(WriteUpdateListText(UpdateList(), Folders(), &text, &error)) << error;
  EXPECT_EQ(ReadBack(text), UpdateList());
}

TEST(UpdateListWriter, ParsedListRewritesToSameText) {
  const std::string first =
      "[HEADER]\r\nprjname P\r\npubdate 20070315-123456\r\ntchksum 1\r\ntfileno 2\r\n"
      "tzipsize -3\r\ndownloadurl http://h\r\nversion 1.5.0\r\n[INSTALL]\r\n/d\r\n"
      "f,1,-1,3,20070315-123456\r\n<WINDOWS>/Fonts\r\ng,1,2,3,0\r\n[UNINSTALL]\r\n/u\r\nx\r\n"
      "[SETUP_INSTALL]\r\n/s\r\ns.zip,1,2,3,0\r\n";
  std::string text, error;
  ASSERT_TRUE(WriteUpdateListText(ReadBack(first), Folders(), &text, &error)) << error;
  EXPECT_EQ(text, first);
}

using UpdateListWriterFile = test::TempDirTest;

TEST_F(UpdateListWriterFile, RoundTrip) {
  const std::string path = Path("round_trip.hul");
  std::string error;
  ASSERT_TRUE(WriteUpdateListFile(Rich("1.5.0"), Folders(), path, &error)) << error;
  UpdateList back;
  ASSERT_TRUE(LoadUpdateList(path, Folders(), &back));
  EXPECT_EQ(back, Rich("1.5.0"));
  EXPECT_FALSE(WriteUpdateListFile(Rich("1.5.0"), Folders(), Path("no/such/x.hul"), &error));
  EXPECT_FALSE(error.empty());
}

// Every value the parser would read back differently is refused.
TEST(UpdateListWriter, RefusesWhatWouldNotReadBack) {
  const struct {
    const char* what;
    std::function<void(UpdateList&)> spoil;
  } cases[] = {
      {"name with comma", [](UpdateList& l) { l.install[0].files[0].name = "a,b"; }},
      {"name with tab", [](UpdateList& l) { l.install[0].files[0].name = "a\tb"; }},
      {"name with LF", [](UpdateList& l) { l.install[0].files[0].name = "a\nb"; }},
      {"empty name", [](UpdateList& l) { l.install[0].files[0].name = ""; }},
      {"name of 100", [](UpdateList& l) { l.install[0].files[0].name = std::string(100, 'n'); }},
      {"name like comment", [](UpdateList& l) { l.install[0].files[0].name = "!x"; }},
      {"name like section", [](UpdateList& l) { l.install[0].files[0].name = "[x"; }},
      {"name like directory", [](UpdateList& l) { l.install[0].files[0].name = "/x"; }},
      {"name like root", [](UpdateList& l) { l.uninstall[0].files[0].name = "<x"; }},
      {"name with leading space", [](UpdateList& l) { l.setup_install[0].files[0].name = " x"; }},
      {"path with slash", [](UpdateList& l) { l.install[0].path = "\\a/b"; }},
      {"path of 100", [](UpdateList& l) { l.install[0].path = "\\" + std::string(99, 'p'); }},
      {"path without root", [](UpdateList& l) { l.install[0].path = "C:\\Games"; }},
      {"path beside a root", [](UpdateList& l) { l.install[0].path = "D:\\Winter"; }},
      {"empty path", [](UpdateList& l) { l.install[0].path = ""; }},
      {"project with space", [](UpdateList& l) { l.project_name = "a b"; }},
      {"url with comma", [](UpdateList& l) { l.download_url = "http://a,b"; }},
      {"url in quotes", [](UpdateList& l) { l.download_url = "\"http://a\""; }},
      {"empty version", [](UpdateList& l) { l.version = ""; }},
      {"version with trailing space", [](UpdateList& l) { l.version = "1.5.0 "; }},
      {"version with comma", [](UpdateList& l) { l.version = "1,5"; }},
      {"time of year 10000", [](UpdateList& l) { l.publication_time = int64_t{300000000000}; }},
  };
  for (const auto& c : cases) {
    UpdateList l = Rich("1.5.0");
    c.spoil(l);
    std::string text = "untouched", error;
    EXPECT_FALSE(WriteUpdateListText(l, Folders(), &text, &error)) << c.what;
    EXPECT_EQ(text, "untouched") << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

}  // namespace
}  // namespace ld
