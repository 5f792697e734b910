#include "core/update_list/update_list_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/update_list/update_list_parser.h"
#include "core/update_list/update_list_records.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

UpdateListFolders Folders() {
  UpdateListFolders f;
  f.windows = "D:\\Win";
  f.system = "D:\\Win\\sys";
  f.temp = "E:\\tmp\\";
  return f;
}

UpdateList ReadBack(const std::string& text) {
  UpdateList l;
  ParseUpdateList(text, Folders(), &l);
  return l;
}

// Every kind of line as the writer puts it: negative and wrapped numbers,
// each root (the longest folder first), an empty directory.
const std::string kRich =
    "[HEADER]\r\nprjname Tabla\r\npubdate 20070315-123456\r\ntchksum -7\r\ntfileno 4\r\n"
    "tzipsize 2147483647\r\ndownloadurl http://h/x\r\nversion 1.5.0\r\n[INSTALL]\r\n/\r\n"
    "game.exe,-1,-2147483648,0,20100102-030405\r\nread me.txt,1,2,3,0\r\n/data/img\r\n"
    "<WINDOWS>/Fonts\r\nf.ttf,9,9,9,20240731-235959\r\n<SYSTEM>\r\nx.dll,1,1,1,0\r\n<TEMP>/t\r\n"
    "t.bin,1,1,1,0\r\n<WINDOWS>\r\nw.ini,1,1,1,0\r\n[UNINSTALL]\r\n/old dir\r\ngone.dll\r\nx y\r\n"
    "[SETUP_INSTALL]\r\n/setup\r\ndx.zip,5,6,-294967296,20100102-030405\r\n";

using UpdateListWriter = test::TempDirTest;

TEST_F(UpdateListWriter, WritesWhatItReadsTextAndFile) {
  std::string text, error;
  ASSERT_TRUE(WriteUpdateListText(ReadBack(kRich), Folders(), &text, &error)) << error;
  EXPECT_EQ(text, kRich);
  ASSERT_TRUE(WriteUpdateListText(UpdateList(), Folders(), &text, &error)) << error;
  EXPECT_EQ(ReadBack(text), UpdateList());
  ASSERT_TRUE(WriteUpdateListFile(ReadBack(kRich), Folders(), Path("a.hul"), &error)) << error;
  UpdateList back;
  ASSERT_TRUE(LoadUpdateList(Path("a.hul"), Folders(), &back));
  EXPECT_EQ(back, ReadBack(kRich));
  EXPECT_FALSE(WriteUpdateListFile(back, Folders(), Path("no/such/x.hul"), &error));
}

// Every value the parser would read back differently is refused.
TEST(UpdateListWriterRefusal, WhatWouldNotReadBack) {
  using Field = std::string& (*)(UpdateList&);
  const std::pair<Field, std::vector<std::string>> bad[] = {
      {[](UpdateList& l) -> std::string& { return l.install[0].files[0].name; },
       {"a,b", "a\tb", "a\nb", "", std::string(100, 'n'), "!x", "[x", "/x"}},
      {[](UpdateList& l) -> std::string& { return l.uninstall[0].files[0].name; }, {"<x"}},
      {[](UpdateList& l) -> std::string& { return l.setup_install[0].files[0].name; }, {" x"}},
      {[](UpdateList& l) -> std::string& { return l.install[0].path; },
       {"\\a/b", "\\" + std::string(99, 'p'), "C:\\Games", "D:\\Winter", ""}},
      {[](UpdateList& l) -> std::string& { return l.project_name; }, {"a b"}},
      {[](UpdateList& l) -> std::string& { return l.download_url; },
       {"http://a,b", "\"http://a\""}},
      {[](UpdateList& l) -> std::string& { return l.version; }, {"", "1.5.0 ", "1,5"}}};
  auto refused = [](const UpdateList& l, const std::string& what) {
    std::string text = "untouched", error;
    EXPECT_FALSE(WriteUpdateListText(l, Folders(), &text, &error)) << what;
    EXPECT_EQ(text, "untouched") << what;
    EXPECT_FALSE(error.empty()) << what;
  };
  for (const auto& [field, values] : bad) {
    for (const std::string& value : values) {
      UpdateList l = ReadBack(kRich);
      field(l) = value;
      refused(l, value);
    }
  }
  UpdateList l = ReadBack(kRich);
  l.publication_time = int64_t{300000000000};  // year 10000
  refused(l, "time");
}

TEST(UpdateListRecords, InstallSetupInstallAndUninstall) {
  UpdateList l;
  ParseUpdateList(
      "[INSTALL]\n/\na.exe,1,2,3,20070315-123456\n/d\nb,4,5,6,0\n[UNINSTALL]\n/old\nx.dll\n"
      "y "
      "z.txt\n/\nroot.txt\n[SETUP_INSTALL]\n/s\ns1.zip,1,10,-1,20070315-123456\ns2.zip,7,20,2,0\n",
      UpdateListFolders(), &l);
  std::vector<FileRecord> records(1);  // appended, not replaced
  AppendInstallRecords(l, &records);
  // 4294967295 + 2 wraps like the 32-bit sum it is.
  EXPECT_EQ(AppendSetupInstallRecords(l, &records), 1u);
  std::string got;
  for (const FileRecord& r : records)
    got += r.dir_path + "|" + r.name + " " + std::to_string(r.needs_update) +
           std::to_string(r.checksum) + std::to_string(r.size) + std::to_string(r.zip_size) +
           (r.time ? " t" : "") + ",";
  EXPECT_EQ(got, "| 1000,\\|a.exe 1123 t,\\d|b 1456,\\s|s1.zip 11104294967295,\\s|s2.zip 17202,");
  EXPECT_EQ(records[1].time, TimeFromFields(2007, 3, 15, 12, 34, 56));
  EXPECT_EQ(UninstallPaths(l, "C:\\Game"),
            (std::vector<std::string>{"C:\\Game\\old\\x.dll", "C:\\Game\\old\\y z.txt",
                                      "C:\\Game\\\\root.txt"}));
}

}  // namespace
}  // namespace ld
