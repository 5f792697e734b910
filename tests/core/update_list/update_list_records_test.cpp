#include "core/update_list/update_list_records.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "core/update_list/update_list_parser.h"

namespace ld {
namespace {

UpdateList Sample() {
  UpdateList l;
  ParseUpdateList(
      "[INSTALL]\n/\na.exe,1,2,3,20070315-123456\n/d\nb,4,5,6,0\nc,7,8,9,0\n"
      "[UNINSTALL]\n/old\nx.dll\ny z.txt\n/\nroot.txt\n"
      "[SETUP_INSTALL]\n/s\ns1.zip,1,10,-1,20070315-123456\ns2.zip,1,20,2,0\n",
      UpdateListFolders(), &l);
  return l;
}

TEST(UpdateListRecords, InstallRecordsInListOrder) {
  std::vector<FileRecord> records(1);  // appended, not replaced
  AppendInstallRecords(Sample(), &records);
  ASSERT_EQ(records.size(), 4u);
  const FileRecord& a = records[1];
  EXPECT_EQ(std::tie(a.dir_path, a.name, a.needs_update, a.checksum, a.size, a.zip_size),
            std::make_tuple(std::string("\\"), std::string("a.exe"), 1u, 1u, 2u, 3u));
  EXPECT_EQ(a.time, TimeFromFields(2007, 3, 15, 12, 34, 56));
  EXPECT_EQ(records[2].name, "b");
  EXPECT_EQ(records[3].dir_path + records[3].name, "\\dc");
  EXPECT_EQ(records[3].size, 8u);
}

TEST(UpdateListRecords, SetupInstallRecordsSumZipSizesWithoutTimes) {
  std::vector<FileRecord> records;
  // 4294967295 + 2 wraps like the 32-bit sum it is.
  EXPECT_EQ(AppendSetupInstallRecords(Sample(), &records), 1u);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].name, "s1.zip");
  EXPECT_EQ(records[0].dir_path, "\\s");
  EXPECT_EQ(records[0].time, 0);
  EXPECT_EQ(records[0].size, 10u);
  EXPECT_EQ(records[1].needs_update, 1u);
  EXPECT_EQ(AppendSetupInstallRecords(UpdateList(), &records), 0u);
  EXPECT_EQ(records.size(), 2u);
}

TEST(UpdateListRecords, UninstallPathsJoinBaseDirectoryAndName) {
  const std::vector<std::string> expected = {"C:\\Game\\old\\x.dll", "C:\\Game\\old\\y z.txt",
                                             "C:\\Game\\\\root.txt"};
  EXPECT_EQ(UninstallPaths(Sample(), "C:\\Game"), expected);
}

}  // namespace
}  // namespace ld
