#include "core/update_list/update_list_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/core/support/test_support.h"
#include "tests/core/update_list/update_list_describe.h"

namespace ld {
namespace {

using test::Describe;

UpdateListFolders TestFolders() {
  UpdateListFolders f;
  f.windows = "C:\\WINDOWS";
  f.system = "C:\\WINDOWS\\system32";
  f.temp = "C:\\Temp\\";  // the trailing backslash must go
  return f;
}

UpdateList Parse(const std::string& text) {
  UpdateList l;
  ParseUpdateList(text, TestFolders(), &l);
  return l;
}

const char kSevenKeys[] =
    "[HEADER]\n"
    "prjname Tabla\n"
    "pubdate 20070315-123456\n"
    "tchksum 10\n"
    "tfileno 2\n"
    "tzipsize 30\n"
    "downloadurl http://d/x\n"
    "version 1.5.0\n";

struct Case {
  const char* name;
  std::string text;
  const char* expected;  // Describe() of the result
};

std::string S(const char* a, const std::string& b) { return a + b; }

class ParserTable : public ::testing::TestWithParam<Case> {};

TEST_P(ParserTable, Parses) { EXPECT_EQ(Describe(Parse(GetParam().text)), GetParam().expected); }

// clang-format off
const Case kCases[] = {
  {"FullList",
   S(kSevenKeys, "[INSTALL]\n/\na.exe,1,2,3,20070315-123456\n/data/img\nb c.bmp,4,5,6,070315-123456\n"
                 "[UNINSTALL]\n/old\ngone file.dll\n[SETUP_INSTALL]\n/setup\ns.zip,7,8,9,0\n"),
   "prj=Tabla pub=20070315-123456 sum=10 no=2 zip=30 url=http://d/x ver=1.5.0 "
   "I[\\{a.exe,1,2,3,20070315-123456;}\\data\\img{b c.bmp,4,5,6,20070315-123456;}] "
   "U[\\old{gone file.dll;}] S[\\setup{s.zip,7,8,9,0;}]"},
  {"DirectoryFirstGoesToInstall", "/d\nf,1,2,3,20070315-123456\n",
   "I[\\d{f,1,2,3,20070315-123456;}]"},
  {"SixKeysThenInstall",
   "prjname P\npubdate 0\ntchksum 1\ntfileno 1\ntzipsize 1\ndownloadurl u\n[INSTALL]\n/d\nf,1,2,3,0\n",
   "prj=P sum=1 no=1 zip=1 url=u I[\\d{f,1,2,3,0;}]"},
  {"SevenKeysCloseHeaderWithoutInstall", S(kSevenKeys, "/d\nf,1,2,3,0\n"),
   "prj=Tabla pub=20070315-123456 sum=10 no=2 zip=30 url=http://d/x ver=1.5.0"},
  {"KeyAndSectionIgnoreCase", "PrJnAmE Mixed\n[install]\n/d\nf,1,2,3,0\n", "prj=Mixed I[\\d{f,1,2,3,0;}]"},
  {"LowerCaseRootIgnoredWithItsFiles", "[INSTALL]\n/a\nx,1,1,1,0\n<windows>/Fonts\nf.ttf,1,2,3,0\n",
   "I[\\a{x,1,1,1,0;}]"},
  {"QuotedDownloadUrl", "downloadurl \"http://h/p\"\n", "url=http://h/p"},
  {"MissingValuesKeepDefaults", "downloadurl\nversion\nprjname\n", ""},
  {"VersionTrimmedSpacesAllowed", "version 1.5.0 beta  \n", "ver=1.5.0 beta"},
  {"DateForms", "/d\nl,0,0,0,20070315-123456\ns,0,0,0,070315-123456\nh,0,0,0,2007-03-15\n",
   "I[\\d{l,0,0,0,20070315-123456;s,0,0,0,20070315-123456;h,0,0,0,0;}]"},
  {"DateMissingOrEmptyDropsLine", "/d\na,1,2,3\nb,1,2,3,\nc,1,2,3,0\n", "I[\\d{c,1,2,3,0;}]"},
  {"LastLineWithoutLineFeed", "/d\nkeep,1,2,3,0\nlost,1,2,3,20070315-123456", "I[\\d{keep,1,2,3,0;}]"},
  {"LastVersionWithoutLineFeed", "version 1.5.0", ""},
  {"TrailingCommaEndsLastField", "/d\nf,1,2,3,0,", "I[\\d{f,1,2,3,0;}]"},
  {"CommaEndsFileName", "/d\na,b.dat,1,2,3\n", "I[\\d{a,0,1,2,0;}]"},
  {"TabsAndCommaSpaces", "/d\nf\t1\t2\t3\t0\ng,  1,  2,  3,  0\n", "I[\\d{f,1,2,3,0;g,1,2,3,0;}]"},
  {"SignedThenUnsigned",
   "/d\na,-1,2147483648,99999999999,0\nb,+5,12abc,x,0\nc,-2147483649,-2147483648,0,0\n",
   "I[\\d{a,4294967295,2147483647,2147483647,0;b,5,12,0,0;c,2147483648,2147483648,0,0;}]"},
  {"HeaderNumbersSigned", "tchksum -5\ntzipsize 4294967295\ntfileno x\n", "sum=-5 zip=2147483647"},
  {"Roots",
   "<WINDOWS>/Fonts\na,0,0,0,0\n<SYSTEM>/drv\nb,0,0,0,0\n<TEMP>/t\nc,0,0,0,0\n<WINDOWS]\nd,0,0,0,0\n",
   "I[C:\\WINDOWS\\Fonts{a,0,0,0,0;}C:\\WINDOWS\\system32\\drv{b,0,0,0,0;}C:\\Temp\\t{c,0,0,0,0;}"
   "C:\\WINDOWS{d,0,0,0,0;}]"},
  {"UnknownRootDropsItsFiles", "/a\nx,0,0,0,0\n<PROGRAMS>/p\ny,0,0,0,0\n", "I[\\a{x,0,0,0,0;}]"},
  {"RelativePaths", "/\n/data/img\n/My Docs/x y\n", "I[\\{}\\data\\img{}\\My Docs\\x y{}]"},
  {"FileBeforeAnyDirectory", "[INSTALL]\nf,1,2,3,0\n/d\ng,1,2,3,0\n", "I[\\d{g,1,2,3,0;}]"},
  {"FileAfterSectionChangeNeedsOwnDirectory",
   "[INSTALL]\n/d\nf,1,2,3,0\n[SETUP_INSTALL]\ns,1,2,3,0\n[INSTALL]\ng,1,2,3,0\n",
   "I[\\d{f,1,2,3,0;}]"},
  {"UnknownSectionDropsEverything", "[INSTALL]\n/a\n[OTHER]\n/b\nf,1,2,3,0\n[install]\n/c\n",
   "I[\\a{}\\c{}]"},
  {"CommentsBlankLinesAndIndent", "! note\n\n   \n\t  prjname  P\n[INSTALL]\n  /d\n\tf,1,2,3,0\n",
   "prj=P I[\\d{f,1,2,3,0;}]"},
  {"CarriageReturns", "\rprjname P\r\n[INSTALL]\r\n/d\r\nf,1,2,3,0\r\ng,1,2,3,0\r",
   "prj=P I[\\d{f,1,2,3,0;}]"},
  {"RepeatedKeyCountsAgain",
   "prjname a\nprjname b\nprjname c\nprjname d\nprjname e\nprjname f\nprjname g\nversion 2.0\n",
   "prj=g"},
  {"UnknownKeyNotCounted",
   "x 1\ny 2\nz 3\nprjname a\npubdate 0\ntchksum 1\ntfileno 1\ntzipsize 1\ndownloadurl u\nversion 2.0\n",
   "prj=a sum=1 no=1 zip=1 url=u ver=2.0"},
  {"UninstallTakesNameOnly", "[INSTALL]\n[UNINSTALL]\n/old\na b c,1,2,3\nlast", "U[\\old{a b c;}]"},
  // A header cut short must not turn uninstall entries into install entries.
  {"ShortHeaderKeepsUninstall", "prjname P\n[UNINSTALL]\n/old\nx.dll\n", "prj=P U[\\old{x.dll;}]"},
  {"ShortHeaderKeepsSetupInstall", "[SETUP_INSTALL]\n/s\nx.zip,1,2,3,0\n", "S[\\s{x.zip,1,2,3,0;}]"},
};
// clang-format on

std::string CaseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(UpdateList, ParserTable, ::testing::ValuesIn(kCases), CaseName);

TEST(UpdateListParser, NameOf99BytesKeptOf100Rejected) {
  const UpdateList l =
      Parse("/d\n" + std::string(99, 'n') + ",1,1,1,0\n" + std::string(100, 'o') + ",1,1,1,0\n");
  ASSERT_EQ(l.install.size(), 1u);
  ASSERT_EQ(l.install[0].files.size(), 1u);
  EXPECT_EQ(l.install[0].files[0].name, std::string(99, 'n'));
}

TEST(UpdateListParser, RootedPathLimitCountsAfterReplacement) {
  // "C:\WINDOWS" (10) + "\" + 88 = 99 fits; one more does not.
  const UpdateList l = Parse("<WINDOWS>/" + std::string(88, 'p') + "\ny,0,0,0,0\n<WINDOWS>/" +
                             std::string(89, 'q') + "\nz,0,0,0,0\n");
  ASSERT_EQ(l.install.size(), 1u);
  EXPECT_EQ(l.install[0].path.size(), 99u);
  EXPECT_EQ(l.install[0].files.size(), 1u);
}

TEST(UpdateListParser, LongLinesSplitAt4095Bytes) {
  // The comment fills one line buffer; its remainder is a line of its own.
  std::string text = "!" + std::string(4094, 'x') + "/late\ny,1,2,3,0\n";
  EXPECT_EQ(Describe(Parse(text)), "I[\\late{y,1,2,3,0;}]");
  // A value that fills the buffer loses its delimiter and so its field; the
  // line feed alone is the next line.
  std::string key = "prjname ";
  text = key + std::string(4095 - key.size(), 'v') + "\n";
  UpdateList l = Parse(text);
  EXPECT_EQ(l.project_name, "");
  // One byte shorter still fits with its line feed.
  text = key + std::string(4094 - key.size(), 'v') + "\n";
  l = Parse(text);
  EXPECT_EQ(l.project_name.size(), 4094 - key.size());
}

TEST(UpdateListParser, ParserStateFollowsLines) {
  UpdateList l;
  UpdateListParser p(&l, TestFolders());
  EXPECT_EQ(p.section(), UpdateListSection::kHeader);
  p.ParseText("prjname a\ntchksum 1\n");
  EXPECT_EQ(p.header_key_count(), 2);
  p.ParseLine("[UNINSTALL]\n");
  EXPECT_EQ(p.section(), UpdateListSection::kUninstall);
  EXPECT_EQ(p.header_key_count(), 2);
  p.ParseLine("[Weird]\n");
  EXPECT_EQ(p.section(), UpdateListSection::kNone);
  p.ParseLine("[install]\n");
  EXPECT_EQ(p.section(), UpdateListSection::kInstall);
  EXPECT_EQ(p.header_key_count(), kUpdateListHeaderKeys);
  EXPECT_EQ(p.lines_read(), 5u);
}

TEST(UpdateListParser, PubdateForms) {
  const TimeValue expected = TimeFromFields(2007, 3, 15, 12, 34, 56);
  EXPECT_EQ(Parse("pubdate 20070315-123456\n").publication_time, expected);
  EXPECT_EQ(Parse("pubdate 070315-123456\n").publication_time, expected);
  EXPECT_EQ(Parse("pubdate 2007-03-15\n").publication_time, 0);
}

TEST(UpdateList, NewerLayoutIsByteWise) {
  const struct {
    const char* version;
    bool newer;
  } cases[] = {{"1.5.0", true},  {"1.6.0", true}, {"2.0", true},    {"1.10.0", false},
               {"1.4.9", false}, {"1.5", false},  {"1.0.0", false}, {"1.5.0.1", true}};
  for (const auto& c : cases) {
    UpdateList l;
    l.version = c.version;
    EXPECT_EQ(l.IsNewerLayout(), c.newer) << c.version;
  }
  EXPECT_FALSE(UpdateList().IsNewerLayout());
  EXPECT_TRUE(Parse("version 1.6.0\n").IsNewerLayout());
}

TEST(UpdateList, ClearResetsEverything) {
  UpdateList l = Parse(S(kSevenKeys, "[INSTALL]\n/d\nf,1,2,3,0\n[UNINSTALL]\n/u\nx\n"));
  ASSERT_NE(Describe(l), "");
  l.Clear();
  EXPECT_EQ(Describe(l), "");
  EXPECT_EQ(l.version, "1.0.0");
  EXPECT_EQ(l, UpdateList());
}

TEST(UpdateList, DirectoryByIndex) {
  const UpdateList l = Parse("/a\n/b\n[SETUP_INSTALL]\n/s\n");
  EXPECT_EQ(l.InstallDirCount(), 2u);
  ASSERT_NE(l.InstallDir(1), nullptr);
  EXPECT_EQ(l.InstallDir(1)->path, "\\b");
  EXPECT_EQ(l.InstallDir(2), nullptr);
  EXPECT_EQ(l.SetupInstallDirCount(), 1u);
  EXPECT_NE(l.SetupInstallDir(0), nullptr);
  EXPECT_EQ(l.SetupInstallDir(1), nullptr);
}

using UpdateListLoad = test::TempDirTest;

TEST_F(UpdateListLoad, ReadsBytesAsWritten) {
  // CRLF, a NUL inside a line and a long line must read the same on every
  // platform as the in-memory parse.
  std::string text = S(kSevenKeys, "[INSTALL]\r\n/d\r\nf,1,2,3,0\r\n");
  text += std::string("g\0h,1,2,3,0\n", 12);
  text += "!" + std::string(5000, 'x') + "\n/e\nlast,1,1,1,0";
  UpdateList loaded;
  ASSERT_TRUE(LoadUpdateList(Write("a.hul", text), TestFolders(), &loaded));
  EXPECT_EQ(loaded, Parse(text));
  EXPECT_EQ(Describe(loaded),
            "prj=Tabla pub=20070315-123456 sum=10 no=2 zip=30 url=http://d/x ver=1.5.0 "
            "I[\\d{f,1,2,3,0;g,0,1,2,0;}\\e{}]");
}

TEST_F(UpdateListLoad, LargeFileSplitsLinesAsInMemory) {
  // Megabytes of lines, and one line of several megabytes without a line
  // feed whose 4095-byte pieces start at shifting places in its pattern:
  // reading in pieces must cut every line where a whole read would.
  std::string text = "[INSTALL]\n";
  for (int i = 0; i < 40000; ++i) {
    if (i % 100 == 0) text += "/dir" + std::to_string(i) + "\n";
    text += "name" + std::to_string(i) + ",1,2,3,20070315-123456\r\n";
  }
  std::string pattern = "q/zz,1,2,3,0\t";  // 13 bytes, prime to 4095
  text += "/long\n";
  for (int i = 0; i < 250000; ++i) text += pattern;
  text += "\n/after\nlast,1,2,3,0\n";
  ASSERT_GT(text.size(), 4u << 20);
  UpdateList expected;
  UpdateListParser parser(&expected, TestFolders());
  parser.ParseText(text);
  ASSERT_EQ(expected.install.back().path, "\\after");
  ASSERT_GT(expected.install[expected.install.size() - 2].files.size(), 700u);

  UpdateList loaded;
  ASSERT_TRUE(LoadUpdateList(Write("big.hul", text), TestFolders(), &loaded));
  EXPECT_TRUE(loaded == expected);
}

TEST_F(UpdateListLoad, AddsToWhatTheDocumentHolds) {
  UpdateList l = Parse("/a\n");
  ASSERT_TRUE(LoadUpdateList(Write("b.hul", "/b\n"), TestFolders(), &l));
  EXPECT_EQ(l.InstallDirCount(), 2u);
}

TEST_F(UpdateListLoad, MissingFileFails) {
  UpdateList l;
  EXPECT_FALSE(LoadUpdateList(Path("none.hul"), TestFolders(), &l));
  EXPECT_FALSE(LoadUpdateList(dir_.string(), TestFolders(), &l)) << "a directory is no list";
  EXPECT_TRUE(LoadUpdateList(Write("empty.hul", ""), TestFolders(), &l));
  EXPECT_EQ(l, UpdateList());
}

}  // namespace
}  // namespace ld
