#include "starter/install/package_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/checksum.h"
#include "core/install/file_decision.h"
#include "starter/install/download_batch.h"
#include "starter/platform/folders.h"
#include "starter/platform/memory_map_file.h"
#include "starter/app/starter_app.h"
#include "tests/win/support/package_fixture.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::ScratchFolder;

// A record listing a file of `content` written at 2021-04-05 06:07:20 local.
FileRecord RecordFor(const std::string& dir, const std::string& name, const std::string& content) {
  FileRecord record;
  record.dir_path = dir;
  record.name = name;
  record.size = static_cast<uint32_t>(content.size());
  record.zip_size = 100 + record.size;
  record.checksum = ByteSum(content.data(), content.size());
  record.time = TimeFromFields(2021, 4, 5, 6, 7, 20);
  return record;
}

TEST(CompareFile, CodesInTheOrderOfTheChecks) {
  ScratchFolder scratch;
  struct Case {
    const char* label;
    const char* name;
    const char* on_disk;  // nullptr: no file
    int second;           // of the file's 06:07 minute; 60 moves it to 06:08
    const char* listed;   // content the record describes
    uint32_t expected;
  };
  const Case cases[] = {
      {"missing", "a.txt", nullptr, 20, "abc", kFileMissing},
      {"size", "b.exe", "abcd", 20, "abc", kSizeDiffers},
      {"minute", "c.txt", "abc", 60, "abc", kTimeDiffers},
      {"seconds only", "d.txt", "abc", 59, "abc", kUpToDate},
      {"program sum", "e.DLL", "abd", 20, "abc", kChecksumDiffers},
      {"text sum ignored", "f.txt", "abd", 20, "abc", kUpToDate},
      {"program match", "g.exe", "abc", 0, "abc", kUpToDate},
      {"empty program", "h.exe", "", 20, "", kUpToDate},
  };
  for (const Case& c : cases) {
    const std::string path = scratch.Sub(c.name);
    if (c.on_disk != nullptr) {
      ASSERT_TRUE(test::WriteAll(path, c.on_disk));
      ASSERT_TRUE(test::SetLocalWriteTime(path, 2021, 4, 5, 6, c.second == 60 ? 8 : 7,
                                          c.second == 60 ? 0 : c.second));
    }
    EXPECT_EQ(c.expected, CompareFile(RecordFor("", c.name, c.listed), path)) << c.label;
  }
}

TEST(CheckPackageFiles, MissingFolderCountsEveryRecord) {
  ScratchFolder scratch;
  std::vector<FileRecord> records = {RecordFor("\\", "game.exe", "xyz"),
                                     RecordFor("\\data", "a.dat", "12345")};
  ExecutableList executables;
  EXPECT_EQ(103u + 105u, CheckPackageFiles(scratch.Sub("absent"), &records, &executables));
  for (const FileRecord& record : records) EXPECT_EQ(kFileMissing, record.needs_update);
  EXPECT_TRUE(executables.empty());
}

TEST(CheckPackageFiles, UpToDateRootProgramsJoinTheExecutableList) {
  ScratchFolder scratch;
  const std::string folder = scratch.path();
  ::CreateDirectoryA(scratch.Sub("data").c_str(), nullptr);
  std::vector<FileRecord> records = {
      RecordFor("\\", "game.exe", "game bytes"), RecordFor("\\", "lib.dll", "lib"),
      RecordFor("\\", "readme.txt", "text"),     RecordFor("\\data", "x.dll", "data dll"),
      RecordFor("\\", "stale.exe", "new bytes"),
  };
  for (const FileRecord& record : records) {
    const std::string path = FinalPath(folder, record.dir_path, record.name);
    const std::string content = record.name == "stale.exe"  ? "old bytes"
                                : record.name == "game.exe" ? "game bytes"
                                : record.name == "lib.dll"  ? "lib"
                                : record.name == "x.dll"    ? "data dll"
                                                            : "text";
    ASSERT_TRUE(test::WriteAll(path, content));
    ASSERT_TRUE(test::SetLocalWriteTime(path, 2021, 4, 5, 6, 7, 1));
  }
  ExecutableList executables;
  EXPECT_EQ(109u, CheckPackageFiles(folder, &records, &executables));
  EXPECT_EQ(kChecksumDiffers, records[4].needs_update);
  const ExecutableList expected = {
      {folder + "\\game.exe", 10, records[0].checksum},
      {folder + "\\lib.dll", 3, records[1].checksum},
  };
  EXPECT_EQ(expected, executables);
}

TEST(CheckPackagesDiskSpace, DriveRule) {
  std::vector<PackageDescriptor> packages(2);
  packages[0].bytes_to_download = 1000;
  packages[1].setup_total = 0xFFFFFFFFu;
  // No ":\" in the folder: the check cannot tell and lets it pass.
  EXPECT_EQ(-1, CheckPackagesDiskSpace("\\\\server\\share\\Ludoria", packages, false));
  EXPECT_EQ(-1, CheckPackagesDiskSpace("Ludoria", packages, true));
  EXPECT_EQ(1, CheckPackagesDiskSpace("C:\\Ludoria", packages, false));

  ULARGE_INTEGER caller, total, free;
  ASSERT_TRUE(::GetDiskFreeSpaceExA("C:\\", &caller, &total, &free));
  if (free.QuadPart >= (uint64_t{1} << 42)) GTEST_SKIP() << "4 TiB free: always enough";
  // The setup totals are what counts with the setup flag.
  std::vector<PackageDescriptor> many(free.QuadPart / 0xFFFFFFFFu + 2);
  for (PackageDescriptor& package : many) package.setup_total = 0xFFFFFFFFu;
  EXPECT_EQ(0, CheckPackagesDiskSpace("C:\\Ludoria", many, true));
  EXPECT_EQ(1, CheckPackagesDiskSpace("C:\\Ludoria", many, false));
}

TEST(BuildDownloadList, ItemsForRecordsToUpdateWithTheirFoldersMade) {
  ScratchFolder scratch;
  const std::string folder = scratch.path();
  // A plain file stands where the folder "data" must go.
  ASSERT_TRUE(test::WriteAll(scratch.Sub("data"), "in the way"));
  std::vector<FileRecord> records = {RecordFor("\\", "game.exe", "a"),
                                     RecordFor("\\data\\img", "b.bmp", "b"),
                                     RecordFor("\\data", "c.dat", "c")};
  records[0].needs_update = kTimeDiffers;
  records[1].needs_update = kFileMissing;
  records[2].needs_update = kUpToDate;

  for (bool newer : {true, false}) {
    PackageSource source{"TABLA", "http://h/dist", "http://d/dist", newer};
    DownloadBatch batch;
    cStarterApp& app = cStarterApp::Get();
    app.ClearStop();
    ASSERT_TRUE(BuildDownloadList(app, source, folder, &records, &batch));
    ASSERT_EQ(2u, batch.size());
    EXPECT_EQ(2, batch.pending());
    const DownloadItem& exe = batch.item(0);
    EXPECT_EQ(&records[0], exe.record);
    EXPECT_EQ("game.exe", exe.display_name);
    EXPECT_EQ(folder + "\\game.exe", exe.final_path);
    EXPECT_EQ(folder + "\\game.exe.zip", exe.zip_path);
    EXPECT_EQ("http://h/dist/TABLA/game.exe.zip", exe.remote_address);
    EXPECT_EQ(101u, exe.expected_size);
    const DownloadItem& bmp = batch.item(1);
    EXPECT_EQ(folder + "\\data\\img", bmp.target_folder);
    EXPECT_EQ(folder + "\\data\\img\\b.bmp", bmp.final_path);
    EXPECT_EQ(newer ? "http://h/dist/TABLA/data/img/b.bmp.zip" : "http://h/dist/TABLA/b.bmp.zip",
              bmp.remote_address);
    EXPECT_TRUE(IsDirectory(folder + "\\data\\img"));
  }

  cStarterApp& app = cStarterApp::Get();
  app.RequestStop();
  DownloadBatch stopped;
  EXPECT_FALSE(BuildDownloadList(app, PackageSource{"TABLA", "http://h/dist", "", true}, folder,
                                 &records, &stopped));
  EXPECT_EQ(0u, stopped.size());
  app.ClearStop();
}

TEST(MemoryMapFile, ChecksumAndViews) {
  ScratchFolder scratch;
  std::string bytes;
  for (int i = 0; i < 3 * 4096 + 17; ++i) bytes += static_cast<char>(i * 7);
  const std::string path = scratch.Sub("sum.bin");
  ASSERT_TRUE(test::WriteAll(path, bytes));
  EXPECT_EQ(ByteSum(bytes.data(), bytes.size()), MappedFileChecksum(path));

  ASSERT_TRUE(test::WriteAll(scratch.Sub("empty.exe"), ""));
  EXPECT_EQ(0u, MappedFileChecksum(scratch.Sub("empty.exe")));
  EXPECT_EQ(0u, MappedFileChecksum(scratch.Sub("missing.exe")));

  cMemoryMapFile file;
  EXPECT_FALSE(file.Open(scratch.Sub("empty.exe"), cMemoryMapFile::kRead));
  EXPECT_FALSE(file.is_open());
  ASSERT_TRUE(file.Open(path, cMemoryMapFile::kReadWrite));
  EXPECT_EQ(bytes.size(), file.size());
  EXPECT_EQ(path, file.name());
  static_cast<char*>(file.mutable_data())[0] = 'Z';
  // Others may read and write while the view is open.
  EXPECT_EQ('Z', test::ReadWholeFile(path)[0]);
  file.Close();
  EXPECT_FALSE(file.is_open());
  EXPECT_FALSE(file.Open(std::string(300, 'a'), cMemoryMapFile::kRead));
}

}  // namespace
}  // namespace ld
