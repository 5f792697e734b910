#include "core/update_list/update_list_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/core/support/test_support.h"

namespace ld {
namespace {

// 2007-03-15 12:34:56 local time, written "T" in descriptions.
const TimeValue kT = TimeFromFields(2007, 3, 15, 12, 34, 56);

// "I[\dir{name,ck,size,zip,time;...}...]": only sections with entries appear.
std::string DescribeDirs(const char* tag, const std::vector<UpdateDirEntry>& dirs,
                         bool names_only) {
  std::string s = std::string(" ") + tag + "[";
  for (const UpdateDirEntry& d : dirs) {
    s += d.path + "{";
    for (const UpdateFileEntry& f : d.files) {
      s += f.name;
      if (!names_only)
        s += "," + std::to_string(f.checksum) + "," + std::to_string(f.size) + "," +
             std::to_string(f.zip_size) + "," + (f.time == kT ? "T" : std::to_string(f.time));
      s += ";";
    }
    s += "}";
  }
  return dirs.empty() ? "" : s + "]";
}

// Header values that differ from a fresh document, then the sections.
std::string Describe(const UpdateList& l) {
  std::string s;
  if (!l.project_name.empty()) s += " prj=" + l.project_name;
  if (l.publication_time != 0) s += l.publication_time == kT ? " pub=T" : " pub=?";
  if (l.total_checksum != 0) s += " sum=" + std::to_string(l.total_checksum);
  if (l.total_file_count != 0) s += " no=" + std::to_string(l.total_file_count);
  if (l.total_zip_size != 0) s += " zip=" + std::to_string(l.total_zip_size);
  if (!l.download_url.empty()) s += " url=" + l.download_url;
  if (l.version != kUpdateListDefaultVersion) s += " ver=" + l.version;
  s += DescribeDirs("I", l.install, false) + DescribeDirs("U", l.uninstall, true) +
       DescribeDirs("S", l.setup_install, false);
  return s.empty() ? s : s.substr(1);
}

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

const std::string kSevenKeys =
    "[HEADER]\nprjname Tabla\npubdate 20070315-123456\ntchksum 10\ntfileno 2\ntzipsize 30\n"
    "downloadurl http://d/x\nversion 1.5.0\n";
const std::string kSevenValues = "prj=Tabla pub=T sum=10 no=2 zip=30 url=http://d/x ver=1.5.0";
const std::string k88(88, 'p'), k99(99, 'n');

TEST(UpdateListParser, Table) {
  // {name, text, Describe() of the result}
  // clang-format off
  const struct { const char* name; std::string text, expected; } cases[] = {
    {"FullList", kSevenKeys + "[INSTALL]\n/\na.exe,1,2,3,20070315-123456\n/data/img\nb c.bmp,4,5,6,070315-123456\n[UNINSTALL]\n/old\ngone file.dll\n[SETUP_INSTALL]\n/setup\ns.zip,7,8,9,0\n", kSevenValues + " I[\\{a.exe,1,2,3,T;}\\data\\img{b c.bmp,4,5,6,T;}] U[\\old{gone file.dll;}] S[\\setup{s.zip,7,8,9,0;}]"},
    {"DirectoryFirstGoesToInstall", "/d\nf,1,2,3,20070315-123456\n", "I[\\d{f,1,2,3,T;}]"},
    {"SixKeysThenInstall", "prjname P\npubdate 070315-123456\ntchksum 1\ntfileno 1\ntzipsize 1\ndownloadurl u\n[INSTALL]\n/d\nf,1,2,3,0\n", "prj=P pub=T sum=1 no=1 zip=1 url=u I[\\d{f,1,2,3,0;}]"},
    {"SevenKeysCloseHeaderWithoutInstall", kSevenKeys + "/d\nf,1,2,3,0\n", kSevenValues},
    {"KeyAndSectionIgnoreCase", "PrJnAmE Mixed\n[install]\n/d\nf,1,2,3,0\n", "prj=Mixed I[\\d{f,1,2,3,0;}]"},
    {"LowerCaseRootIgnoredWithItsFiles", "[INSTALL]\n/a\nx,1,1,1,0\n<windows>/Fonts\nf.ttf,1,2,3,0\n", "I[\\a{x,1,1,1,0;}]"},
    {"QuotedUrlMissingValuesTrimmedVersion", "downloadurl \"http://h/p\"\nprjname\nversion 1.5.0 beta  \n", "url=http://h/p ver=1.5.0 beta"},
    {"MissingValuesKeepDefaults", "downloadurl\nversion\nprjname\n", ""},
    {"DateForms", "/d\nl,0,0,0,20070315-123456\ns,0,0,0,070315-123456\nh,0,0,0,2007-03-15\n", "I[\\d{l,0,0,0,T;s,0,0,0,T;h,0,0,0,0;}]"},
    {"DateMissingOrEmptyDropsLine", "/d\na,1,2,3\nb,1,2,3,\nc,1,2,3,0\n", "I[\\d{c,1,2,3,0;}]"},
    {"LastLineWithoutLineFeed", "/d\nkeep,1,2,3,0\nlost,1,2,3,20070315-123456", "I[\\d{keep,1,2,3,0;}]"},
    {"TrailingCommaEndsLastField", "/d\nf,1,2,3,0,", "I[\\d{f,1,2,3,0;}]"},
    {"CommaEndsFileNameTabsAndCommaSpaces", "/d\na,b.dat,1,2,3\nf\t1\t2\t3\t0\ng,  1,  2,  3,  0\n", "I[\\d{a,0,1,2,0;f,1,2,3,0;g,1,2,3,0;}]"},
    {"SignedThenUnsigned", "/d\na,-1,2147483648,99999999999,0\nb,+5,12abc,x,0\nc,-2147483649,-2147483648,0,0\n", "I[\\d{a,4294967295,2147483647,2147483647,0;b,5,12,0,0;c,2147483648,2147483648,0,0;}]"},
    {"HeaderNumbersSigned", "tchksum -5\ntzipsize 4294967295\ntfileno x\npubdate 2007-03-15\n", "sum=-5 zip=2147483647"},
    {"Roots", "<WINDOWS>/Fonts\na,0,0,0,0\n<SYSTEM>/drv\nb,0,0,0,0\n<TEMP>/t\nc,0,0,0,0\n<WINDOWS]\nd,0,0,0,0\n", "I[C:\\WINDOWS\\Fonts{a,0,0,0,0;}C:\\WINDOWS\\system32\\drv{b,0,0,0,0;}C:\\Temp\\t{c,0,0,0,0;}C:\\WINDOWS{d,0,0,0,0;}]"},
    {"UnknownRootDropsItsFiles", "/a\nx,0,0,0,0\n<PROGRAMS>/p\ny,0,0,0,0\n", "I[\\a{x,0,0,0,0;}]"},
    {"RelativePaths", "/\n/data/img\n/My Docs/x y\n", "I[\\{}\\data\\img{}\\My Docs\\x y{}]"},
    {"FileBeforeAnyDirectory", "[INSTALL]\nf,1,2,3,0\n/d\ng,1,2,3,0\n", "I[\\d{g,1,2,3,0;}]"},
    {"FileAfterSectionChangeNeedsOwnDirectory", "[INSTALL]\n/d\nf,1,2,3,0\n[SETUP_INSTALL]\ns,1,2,3,0\n[INSTALL]\ng,1,2,3,0\n", "I[\\d{f,1,2,3,0;}]"},
    {"UnknownSectionDropsEverything", "[INSTALL]\n/a\n[OTHER]\n/b\nf,1,2,3,0\n[install]\n/c\n", "I[\\a{}\\c{}]"},
    {"CommentsBlankLinesAndIndent", "! note\n\n   \n\t  prjname  P\n[INSTALL]\n  /d\n\tf,1,2,3,0\n", "prj=P I[\\d{f,1,2,3,0;}]"},
    {"CarriageReturns", "\rprjname P\r\n[INSTALL]\r\n/d\r\nf,1,2,3,0\r\ng,1,2,3,0\r", "prj=P I[\\d{f,1,2,3,0;}]"},
    {"RepeatedKeyCountsAgain", "prjname a\nprjname b\nprjname c\nprjname d\nprjname e\nprjname f\nprjname g\nversion 2.0\n", "prj=g"},
    {"UnknownKeyNotCounted", "x 1\ny 2\nz 3\nprjname a\npubdate 0\ntchksum 1\ntfileno 1\ntzipsize 1\ndownloadurl u\nversion 2.0\n", "prj=a sum=1 no=1 zip=1 url=u ver=2.0"},
    {"UninstallTakesNameOnly", "[INSTALL]\n[UNINSTALL]\n/old\na b c,1,2,3\nlast", "U[\\old{a b c;}]"},
    // A header cut short must not turn uninstall entries into install entries.
    {"ShortHeaderKeepsUninstall", "prjname P\n[UNINSTALL]\n/old\nx.dll\n", "prj=P U[\\old{x.dll;}]"},
    {"ShortHeaderKeepsSetupInstall", "[SETUP_INSTALL]\n/s\nx.zip,1,2,3,0\n", "S[\\s{x.zip,1,2,3,0;}]"},
    {"NameOf99BytesKeptOf100Dropped", "/d\n" + k99 + ",1,1,1,0\n" + k99 + "o,1,1,1,0\n", "I[\\d{" + k99 + ",1,1,1,0;}]"},
    // "C:\WINDOWS" (10) + "\" + 88 = 99 fits; one more does not.
    {"RootedPathLimitCountsAfterReplacement", "<WINDOWS>/" + k88 + "\ny,0,0,0,0\n<WINDOWS>/" + k88 + "q\nz,0,0,0,0\n", "I[C:\\WINDOWS\\" + k88 + "{y,0,0,0,0;}]"},
    // A comment that fills the 4095-byte line buffer: its rest is a line of its own.
    {"LongCommentSplits", "!" + std::string(4094, 'x') + "/late\ny,1,2,3,0\n", "I[\\late{y,1,2,3,0;}]"},
    // A value that fills the buffer loses its delimiter and so its field; one
    // byte shorter still fits with its line feed.
    {"LongValueLost", "prjname " + std::string(4087, 'v') + "\n", ""},
    {"LongValueKept", "prjname " + std::string(4086, 'v') + "\n", "prj=" + std::string(4086, 'v')},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(Describe(Parse(c.text)), c.expected) << c.name;
}

TEST(UpdateList, NewerLayoutClearAndDirectoryByIndex) {
  std::string newer;
  for (const char* version :
       {"1.5.0", "1.6.0", "2.0", "1.5.0.1", "1.10.0", "1.4.9", "1.5", "1.0.0"}) {
    UpdateList l;
    l.version = version;
    newer += l.IsNewerLayout() ? "1" : "0";
  }
  EXPECT_EQ(newer, "11110000");  // byte-wise
  EXPECT_FALSE(UpdateList().IsNewerLayout());

  UpdateList l = Parse("prjname P\n/a\n/b\n[UNINSTALL]\n/u\nx\n[SETUP_INSTALL]\n/s\n");
  EXPECT_EQ(l.InstallDirCount() * 10 + l.SetupInstallDirCount(), 21u);
  ASSERT_NE(l.InstallDir(1), nullptr);
  EXPECT_EQ(l.InstallDir(1)->path + l.SetupInstallDir(0)->path, "\\b\\s");
  EXPECT_TRUE(l.InstallDir(2) == nullptr && l.SetupInstallDir(1) == nullptr);
  l.Clear();
  EXPECT_EQ(l, UpdateList());
  EXPECT_EQ(l.version, "1.0.0");
}

using UpdateListLoad = test::TempDirTest;

TEST_F(UpdateListLoad, ReadsBytesAsWrittenInPiecesAndAddsToTheDocument) {
  // CRLF, a NUL inside a line and a long line read as the in-memory parse.
  std::string text = kSevenKeys + "[INSTALL]\r\n/d\r\nf,1,2,3,0\r\n" +
                     std::string("g\0h,1,2,3,0\n", 12) + "!" + std::string(5000, 'x') +
                     "\n/e\nlast,1,1,1,0";
  UpdateList loaded = Parse("/a\n");
  ASSERT_TRUE(LoadUpdateList(Write("a.hul", text), TestFolders(), &loaded));
  EXPECT_EQ(Describe(loaded), kSevenValues + " I[\\a{}\\d{f,1,2,3,0;g,0,1,2,0;}\\e{}]");

  // Megabytes of lines, and one line of several megabytes without a line
  // feed whose 4095-byte pieces start at shifting places in its pattern:
  // reading in pieces must cut every line where a whole read would.
  text = "[INSTALL]\n";
  for (int i = 0; i < 40000; ++i)
    text += (i % 100 ? "" : "/dir" + std::to_string(i) + "\n") + "n" + std::to_string(i) +
            ",1,2,3,0\r\n";
  text += "/long\n";
  for (int i = 0; i < 250000; ++i) text += "q/zz,1,2,3,0\t";  // 13 bytes, prime to 4095
  text += "\n/after\nlast,1,2,3,0\n";
  const UpdateList expected = Parse(text);
  ASSERT_GT(expected.install[expected.install.size() - 2].files.size(), 700u);
  ASSERT_TRUE(LoadUpdateList(Write("big.hul", text), TestFolders(), &(loaded = UpdateList())));
  EXPECT_TRUE(loaded == expected);

  EXPECT_FALSE(LoadUpdateList(Path("none.hul"), TestFolders(), &loaded));
  EXPECT_FALSE(LoadUpdateList(dir_.string(), TestFolders(), &loaded)) << "a directory is no list";
  EXPECT_TRUE(LoadUpdateList(Write("empty.hul", ""), TestFolders(), &(loaded = UpdateList())));
  EXPECT_EQ(loaded, UpdateList());
}

}  // namespace
}  // namespace ld
