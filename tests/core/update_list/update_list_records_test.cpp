#include "core/update_list/update_list_records.h"

#include <gtest/gtest.h>

#include <string>

#include "core/update_list/update_list_parser.h"

namespace ld {
namespace {

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
