#include "core/install/file_decision.h"

#include <gtest/gtest.h>

#include <map>

#include "core/base/time_value.h"
#include "core/install/download_rules.h"
#include "core/install/executable_list.h"
#include "core/install/install_paths.h"
#include "core/install/package_order.h"
#include "core/install/progress_meter.h"
#include "core/install/verify_report.h"
#include "core/install/zip_entry_path.h"

namespace ld {
namespace {

TEST(InstallPaths, LocalAndRemotePaths) {
  // update list folder -> local file, its folder (under "C:\G")
  const std::string local[][3] = {
      {"\\", "C:\\G\\a.dll", "C:\\G\\"},
      {"data", "C:\\G\\data\\a.dll", "C:\\G\\data"},  // never listed; still inside
      {"C:\\WINDOWS\\Fonts", "C:\\WINDOWS\\Fonts\\a.dll", "C:\\WINDOWS\\Fonts"},
  };
  for (const auto& c : local)
    EXPECT_EQ(FinalPath("C:\\G", c[0], "a.dll") + " " + TargetFolder("C:\\G", c[0]),
              c[1] + " " + c[2]);
  // package, download address, newer layout?, folder -> address. A machine's
  // folder is no server path; base2005 in any case, and too short download
  // addresses, use the launch string's distribution address.
  const std::string remote[][5] = {
      {"TABLA", "http://h/d", "1", "\\data", "http://h/d/TABLA/data/a.dll.zip"},
      {"TABLA", "http://h/d", "0", "\\data", "http://h/d/TABLA/a.dll.zip"},
      {"TABLA", "http://h/d", "1", "C:\\WINDOWS\\Fonts", "http://h/d/TABLA/a.dll.zip"},
      {"BASE2005", "http://h/d", "1", "\\", "http://k/d/BASE2005/a.dll.zip"},
      {"TABLA", "ab", "1", "", "ab/TABLA/a.dll.zip"},
  };
  for (const auto& c : remote) {
    const PackageSource source{c[0], c[1], "http://k/d", c[2] == "1"};
    EXPECT_EQ(RemoteFileAddress(source, c[3], "a.dll"), c[4]) << c[0] << c[1] << c[2] << c[3];
  }
  EXPECT_EQ(InstallOrder(4), (std::vector<std::size_t>{1, 2, 3, 0}));  // bases first, game last
}

TEST(InstallPaths, PlanCreateFolder) {
  const auto D = PathKind::kDirectory, F = PathKind::kFile;
  const std::map<std::string, PathKind> disk = {
      {"C:", D}, {"C:\\G", D}, {"C:\\G\\f", F}, {"C:\\F", F}};
  auto plan = [&](const std::string& path) {
    std::string out;
    for (const FolderStep& s : PlanCreateFolder(path, [&](const std::string& p) {
           return disk.count(p) ? disk.at(p) : PathKind::kMissing;
         }))
      out += (s.delete_file_first ? "-" : "+") + s.path + ";";
    return out;
  };
  // Outermost missing folder first; a plain file in the way goes first.
  const std::string cases[][2] = {
      {"C:\\G\\", ""},      {"C:\\G\\a\\b\\", "+C:\\G\\a;+C:\\G\\a\\b;"},
      {"C:\\F", "-C:\\F;"}, {"C:\\G\\f\\b", "-C:\\G\\f;+C:\\G\\f\\b;"},
      {"data", "+data;"},   {"\\", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(plan(c[0]), c[1]) << c[0];
}

TEST(InstallPaths, DiskSpace) {
  for (const char* none : {"Games\\T", "C:Games", "\\\\server\\share", "abcdefgh:\\x"})
    EXPECT_FALSE(DrivePart(none)) << none;
  EXPECT_EQ(DrivePart("\\\\?\\C:\\G").value_or("-") + DrivePart("abcdefg:\\x").value_or("-"),
            "\\\\?\\C:\\abcdefg:\\");
  constexpr uint64_t kMiB = 1024 * 1024, k4TiB = uint64_t{1} << 42;
  EXPECT_EQ(EnoughDiskSpace(5 * kMiB, 5 * kMiB + 1), 0);  // whole KiB are compared
  EXPECT_EQ(EnoughDiskSpace(5 * kMiB + 1023, 5 * kMiB), 1);
  EXPECT_EQ(EnoughDiskSpace(k4TiB, k4TiB * 2), 1);  // plenty

  auto query = [](const std::string&, uint64_t* out) { return *out = uint64_t{4} << 30, true; };
  // Three 2 GiB packages need 6 GiB; a 32-bit total would wrap to 2 GiB.
  EXPECT_EQ(CheckDiskSpace("D:\\G", {0x80000000u, 0x80000000u, 0x80000000u}, query), 0);
  EXPECT_EQ(CheckDiskSpace("D:\\G", {0x80000000u, 0x7FFFFFFFu}, query), 1);
  EXPECT_EQ(CheckDiskSpace("G", {1}, query), -1);
  auto failing = [](const std::string&, uint64_t*) { return false; };
  EXPECT_EQ(CheckDiskSpace("D:\\G", {1}, failing) * 2 + CheckDiskSpace("D:\\G", {}, failing), 1);
}

TEST(ZipEntryOutputPath, SafeNamesLandUnderTheFolderUnsafeOnesNowhere) {
  // Pairs of a name and where it lands under "C:\G".
  const char* const safe[] = {"data/img/a", "data\\img\\a", "data\\a",    "data\\a",   "data/",
                              "data",       "./a",          ".\\a",       "..a/b..",   "..a\\b..",
                              "read me",    "read me",      "\xB7\xE7.t", "\xB7\xE7.t"};
  for (std::size_t i = 0; i < std::size(safe); i += 2)
    EXPECT_EQ(ZipEntryOutputPath("C:\\G\\", safe[i]).value_or("-"),
              "C:\\G\\" + std::string(safe[i + 1]));
  for (const char* name : {"/etc/passwd", "\\W\\e", "C:\\e", "c:e", "a.txt:s", "..", "../e",
                           "d/../../e", "d\\..\\x", ".. /e", "d/. ./x", "   /x", "a\tb", ""}) {
    EXPECT_FALSE(ZipEntryOutputPath("C:\\G", name)) << name;
    EXPECT_FALSE(IsSafeZipEntryName(name)) << name;
  }
  EXPECT_TRUE(IsFolderZipEntry("data\\") && !IsFolderZipEntry("data/a") && !IsFolderZipEntry(""));

  // Only program files directly in the game folder are listed.
  FileRecord record;
  for (const char* dir : {"", "\\data", "\\"}) {
    record.dir_path = dir;
    record.name = "LIB.DLL";
    EXPECT_EQ(IsRootProgramRecord(record), std::string(dir) == "\\") << dir;
  }
  record.name = "readme.txt";
  EXPECT_FALSE(IsRootProgramRecord(record));
  EXPECT_EQ(RootProgramPath("C:\\G", "game.exe"), "C:\\G\\game.exe");
}

TEST(FileDecision, ProgramFilesAndMinutes) {
  // The last dot of the whole path decides; longer extensions are no extensions.
  for (const char* yes : {"C:\\G\\lib.Dll", ".exe"}) EXPECT_TRUE(IsProgramFile(yes)) << yes;
  for (const std::string& no : std::initializer_list<std::string>{
           "C:\\G\\game.exe.bak", "C:\\G.exe\\data", "C:\\G\\exe", "C:\\G\\g.", "C:\\G\\g.exex", "",
           "a." + std::string(32, 'x')})
    EXPECT_FALSE(IsProgramFile(no)) << no;
  const TimeValue noon = TimeFromFields(2007, 3, 15, 12, 0, 0);
  EXPECT_TRUE(SameLocalMinute(noon, noon + 59));
  EXPECT_FALSE(SameLocalMinute(noon + 59, noon + 60) || SameLocalMinute(noon, noon - 1));
}

TEST(FileDecision, CodeAndChecksumOnlyWhenNeeded) {
  // The listed file: 1234 bytes, checksum 0xABCD, 2007-03-15 12:34:10 local.
  // Rows: path, exists, size, seconds off, local checksum -> code, checksum computed.
  const std::tuple<const char*, bool, uint32_t, int, uint32_t, uint32_t, bool> cases[] = {
      {"C:\\G\\a.exe", true, 1234, 49, 0xABCD, 0, true},
      {"C:\\G\\a.exe", false, 1, 9999, 1, 1, false},
      {"C:\\G\\a.exe", true, 1, 3600, 0, 2, false},  // size before time
      {"C:\\G\\a.exe", true, 1234, 50, 0xABCD, 4, false},
      {"C:\\G\\a.txt", true, 1234, -11, 0, 4, false},
      {"C:\\G\\A.DLL", true, 1234, 0, 0xABCE, 8, true},
      {"C:\\G.exe\\a", true, 1234, 0, 0, 0, false},
  };
  const ExpectedFile expected{1234, 0xABCD, TimeFromFields(2007, 3, 15, 12, 34, 10)};
  for (const auto& [path, exists, size, seconds, checksum, code, computed] : cases) {
    int calls = 0;
    const LocalFileFacts facts{exists, size, expected.time + seconds};
    EXPECT_EQ(DecideNeedsUpdate(facts, expected, path, [&] { return ++calls, checksum; }), code)
        << path << seconds;
    EXPECT_EQ(calls, computed ? 1 : 0) << path << seconds;
  }
  // Without a checksum source a program file is never taken as up to date.
  EXPECT_EQ(DecideNeedsUpdate({true, 1234, expected.time}, expected, "C:\\G\\a.exe", nullptr), 8u);
}

TEST(DownloadRules, PiecesTextsAndAddresses) {
  // Whole kilobytes above the size, at most 40.
  const uint32_t pieces[][2] = {
      {0, 1024}, {1024, 2048}, {5000, 5120}, {40 * 1024 - 1, 40960}, {0xFFFFFFFFu, 40960}};
  for (const auto& p : pieces) EXPECT_EQ(PackageDownloadBufferSize(p[0]), p[1]) << p[0];
  const std::string long_text(500, 'q');
  EXPECT_EQ(BoundedFormat(kLogTextField, "u : %s(%d)", long_text.c_str(), 5),
            ("u : " + long_text).substr(0, 199));
  EXPECT_EQ(BoundedFormat(1, "abc"), "");
  EXPECT_TRUE(ClassifyUpdateListFailure(true, false) == UpdateListFailure::kLocalFile &&
              ClassifyUpdateListFailure(true, true) == UpdateListFailure::kDownload);
  EXPECT_EQ(UpdateListFailureText("F.", false, "http://h/x") +
                UpdateListFailureText("F.", true, "http://h/x"),
            "F.F.\n( http://h/x )");
  EXPECT_TRUE(TransferComplete(false, 100, 3) && TransferComplete(true, 100, 100));
  EXPECT_FALSE(TransferComplete(true, 100, 99) ||
               TransferComplete(true, 5000000000ull, 705032704ull));
}

TEST(VerifyReport, Texts) {
  const std::string report = SizeMismatchReport(
      {VerifyRow("T", "http://h/a.zip", "10", "12"), VerifyRow("T", "b", "0", "7")});
  EXPECT_EQ(report.find("\"downloaded file SIZE unexpected\"\n"), 0u);
  const std::string tail =
      "|| no || package || remote address || size || ToBe(in .hul) ||\n"
      "| 1 | T | http://h/a.zip | 10 | 12 |\n| 2 | T | b | 0 | 7 |\n";
  EXPECT_EQ(report.substr(report.size() - std::min(report.size(), tail.size())), tail);
  EXPECT_EQ(SizeMismatchReport({}) + TimeMismatchReport({}), "");
  EXPECT_EQ(FailedDownloadsText({"http://a", "http://b"}), "http://a\nhttp://b\n");
  EXPECT_EQ(VerifyResult(1, 3) * 100 + VerifyResult(0, 3) * 10 + VerifyResult(0, 0), -70);
}

constexpr uint32_t kT0 = 5000;

// One line per display change: "main range=1000 pos=250 progress done=250 rate=250 left=3sec".
std::string D(const MeterUpdate& u) {
  static const char* const kBars[] = {"none", "named", "main"};
  static const char* const kTexts[] = {"unchanged", "clear", "progress", "decompressing"};
  std::string s = kBars[static_cast<int>(u.bar)];
  if (u.set_range) s += " range=" + std::to_string(u.range_max);
  s += " pos=" + std::to_string(u.position) + " " + kTexts[static_cast<int>(u.text)];
  if (u.text != MeterText::kProgress) return s;
  s += " done=" + std::to_string(u.bytes_done) + " rate=" + std::to_string(u.rate);
  if (u.has_time_left) s += " left=" + std::to_string(u.time_left) + u.time_unit;
  return s;
}

TEST(ProgressMeter, TransferRateAndTimeLeft) {
  ProgressMeter m;
  EXPECT_EQ(D(m.StartTransfer(1000, kT0)), "main range=1000 pos=0 unchanged");
  EXPECT_EQ(D(m.AddBytes(250, kT0 + 1000)), "main pos=250 progress done=250 rate=250 left=3sec");
  // total, bytes, elapsed ms -> "rate left": the time left is rounded, whole
  // minutes from 60 s, never negative, and needs a rate.
  const uint32_t cases[][3] = {{1050, 100, 1000},   {6049, 100, 1000},  {6050, 100, 1000},
                               {100000, 100, 1000}, {100, 150, 150000}, {1000, 10, 0}};
  const char* const expected[] = {"rate=100 left=10sec", "rate=100 left=59sec",
                                  "rate=100 left=1min",  "rate=100 left=16min",
                                  "rate=1 left=0sec",    "rate=0"};
  for (int i = 0; i < 6; ++i) {
    m.StartBatch(cases[i][0], kT0);
    const std::string d = D(m.AddBytes(cases[i][1], kT0 + cases[i][2]));
    EXPECT_EQ(d.substr(d.find("rate=")), expected[i]) << i;
  }
  m.StartBatch(10000, 0xFFFFFF00u);
  EXPECT_EQ(m.AddBytes(2048, 0x00000300u).rate, 2000u);  // 1024 ms across the tick wrap
}

TEST(ProgressMeter, NamedModeDrivesOnlyItsBar) {
  ProgressMeter m;
  m.StartBatch(500, kT0);
  EXPECT_EQ(D(m.SetMode(true)), "named range=500 pos=0 unchanged");
  EXPECT_EQ(D(m.AddBytes(100, kT0 + 2000)), "named pos=100 unchanged");
  EXPECT_EQ(D(m.SetMode(false)), "main range=500 pos=100 clear");

  EXPECT_EQ(D(m.Reset(true)), "named range=100 pos=0 unchanged");
  m.StagedStart(1000, kT0);
  m.StagedNextFile(400);                                                      // main mode only
  EXPECT_EQ(D(m.StagedAddBytes(500, kT0 + 1000)), "named pos=25 unchanged");  // 500/1000 * 50
  m.StagedFileDownloaded();                                                   // main mode only
  EXPECT_EQ(m.current_weight() + m.staged_completed(), 0u);
  EXPECT_EQ(m.ExtractionProgress(1, 2).position, 75u);
  EXPECT_EQ(m.ExtractionProgress(3, 0).position, 50u);  // divisor 0 counts as 0
}

// Each install phase gives the main bar a range its positions fit in.
TEST(ProgressMeter, MainPhasesStartWithTheirRange) {
  ProgressMeter m;
  EXPECT_EQ(D(m.StartMainBatch(300000, kT0)), "main range=300000 pos=0 clear");
  EXPECT_EQ(m.AddBytes(300000, kT0 + 1000).position, 300000u);
  EXPECT_EQ(D(m.StartMainStaged(3000000, kT0)), "main range=100 pos=0 clear");
  m.StagedNextFile(3000000);
  EXPECT_EQ(m.StagedAddBytes(3000000, kT0 + 1000).position, 50u);
}

// A bar takes a signed 32-bit range: from 2 GiB the bytes reach it halved.
TEST(ProgressMeter, BarRangeStaysPositiveForLargeGames) {
  ProgressMeter m;
  EXPECT_EQ(D(m.StartMainBatch(0x7FFFFFFFu, kT0)), "main range=2147483647 pos=0 clear");
  EXPECT_EQ(D(m.StartMainBatch(3000000000u, kT0)), "main range=1500000000 pos=0 clear");
  const MeterUpdate u = m.AddBytes(2000000000u, kT0 + 1000);
  EXPECT_EQ(u.position, 1000000000u);
  EXPECT_EQ(u.bytes_done, 2000000000u);                                  // the texts keep the bytes
  EXPECT_EQ(m.AddBytes(1500000000u, kT0 + 2000).position, 1500000000u);  // past the total: full
  EXPECT_EQ(D(m.SetMode(true)), "named range=1500000000 pos=1500000000 unchanged");
  m.StartBatch(1000, kT0);
  EXPECT_EQ(m.AddBytes(3000000000u, kT0 + 1000).position, 1000u);
}

// Two files of 400 and 600 bytes: each is downloaded (first half of its
// weight) and then unpacked (second half).
TEST(ProgressMeter, StagedMainModeWalkThrough) {
  ProgressMeter m;
  EXPECT_EQ(D(m.Reset(false)), "main range=100 pos=0 clear");
  m.StagedStart(1000, kT0);
  m.StagedNextFile(400);
  // Position 200/400 * 40 * 0.5; 800 / 200 + 0.5 seconds left.
  EXPECT_EQ(D(m.StagedAddBytes(200, kT0 + 1000)),
            "main pos=10 progress done=200 rate=200 left=4sec");
  m.StagedAddBytes(200, kT0 + 2000);
  m.StagedFileDownloaded();
  EXPECT_EQ(D(m.ExtractionProgress(1, 2)), "main pos=30 decompressing");  // 20 + 1/2 * 40 * 0.5
  m.StagedFileExtracted();
  m.StagedNextFile(600);
  // 40 + 300/600 * 60 * 0.5; completed + current bytes; 700 bytes in 3.5 s.
  EXPECT_EQ(D(m.StagedAddBytes(300, kT0 + 3500)),
            "main pos=55 progress done=700 rate=200 left=2sec");
  m.StagedAddBytes(300, kT0 + 4000);
  m.StagedFileDownloaded();
  EXPECT_EQ(m.ExtractionProgress(5, 5).position, 100u);
  m.StagedFileExtracted();
  m.StagedNextFile(1000);  // one file holding everything
  EXPECT_EQ(m.downloaded_share() + m.extracted_share() + m.current_weight(), 200u);

  EXPECT_DOUBLE_EQ(MeterRatio(5, 0), 0.0);
}

}  // namespace
}  // namespace ld
