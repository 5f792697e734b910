// The file check's byte sums of programs and the root programs it lists
// (sizes, minutes and missing files are what every end-to-end relaunch
// decides on).
#include "starter/install/package_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/checksum.h"
#include "core/install/file_decision.h"
#include "tests/win/support/package_fixture.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

TEST(CheckPackageFiles, ComparesProgramSumsAndListsUpToDateRootPrograms) {
  test::ScratchFolder scratch;
  ::CreateDirectoryA(scratch.Sub("data").c_str(), nullptr);
  // name, content on disk; every record lists "abc" at 06:07:20.
  const std::pair<const char*, const char*> files[] = {
      {"sum.DLL", "abd"}, {"text.txt", "abd"}, {"game.exe", "abc"}, {"data\\x.dll", "abc"}};
  std::vector<FileRecord> records;
  for (const auto& [name, content] : files) {
    test::ScratchFolder::WriteFile(scratch.Sub(name), content);
    ASSERT_TRUE(test::SetLocalWriteTime(scratch.Sub(name), 6, 7, 1));
    const std::string path = name;
    FileRecord record;
    record.dir_path = path.find('\\') == std::string::npos ? "\\" : "\\data";
    record.name = path.substr(path.find('\\') + 1);
    record.size = 3;
    record.zip_size = 103;
    record.checksum = ByteSum("abc", 3);
    record.time = TimeFromFields(2021, 4, 5, 6, 7, 20);
    records.push_back(record);
  }
  ExecutableList executables;
  EXPECT_EQ(103u, CheckPackageFiles(scratch.path(), &records, &executables));
  const std::vector<uint32_t> codes = {records[0].needs_update, records[1].needs_update,
                                       records[2].needs_update, records[3].needs_update};
  EXPECT_EQ(codes, (std::vector<uint32_t>{kChecksumDiffers, kUpToDate, kUpToDate, kUpToDate}));
  const ExecutableList expected = {{scratch.Sub("game.exe"), 3, ByteSum("abc", 3)}};
  EXPECT_EQ(expected, executables);
}

}  // namespace
}  // namespace ld
