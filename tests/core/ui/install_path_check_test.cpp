#include "core/ui/install_path_check.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace ld {
namespace {

// A drive C: holding "C:\Games" and the plain file "C:\file"; "C:\locked"
// cannot be made. Records what the check makes and removes.
class FakeDisk : public PathFacts {
 public:
  bool DriveExists(const std::string& drive) override { return drive == "C:" || drive == "c:"; }
  Kind KindOf(const std::string& path) override {
    if (path == "C:\\file") return Kind::kFile;
    return folders.count(path) ? Kind::kFolder : Kind::kMissing;
  }
  bool MakeFolder(const std::string& path) override {
    if (path == "C:\\locked") return false;
    folders.insert(path);
    made.push_back(path);
    return true;
  }
  void RemoveFolder(const std::string& path) override {
    folders.erase(path);
    removed.push_back(path);
  }
  std::set<std::string> folders{"C:\\Games"};
  std::vector<std::string> made, removed;
};

TEST(InstallPathCheck, AcceptsAndRefusesShapes) {
  struct Case {
    const char* path;
    bool ok;
  } cases[] = {
      {"C:", true},        // just the drive, which exists
      {"D:", false},       // drive missing
      {"C:\\", true},      // one trailing backslash removed
      {"C:Games", false},  // no backslash after the colon
      {"C", false},        // too short
      {"\\\\server\\share", false},
      {"Games\\x", false},  // relative
      {"C:\\Games", true},  // exists
      {"C:\\file", false},  // a plain file
      {"C:\\file\\sub", false},
      {"C:\\locked\\x", false},
  };
  for (const Case& c : cases) {
    FakeDisk disk;
    EXPECT_EQ(CheckInstallPath(c.path, disk), c.ok) << c.path;
  }
}

TEST(InstallPathCheck, MakesMissingFoldersParentsFirstAndKeepsThem) {
  FakeDisk disk;
  EXPECT_TRUE(CheckInstallPath("C:\\Games\\Ludoria\\New", disk));
  EXPECT_EQ(disk.made, (std::vector<std::string>{"C:\\Games\\Ludoria", "C:\\Games\\Ludoria\\New"}));
  EXPECT_TRUE(disk.removed.empty());
}

TEST(InstallPathCheck, FailureRemovesWhatItMadeLastFirst) {
  struct Blocking : FakeDisk {
    Kind KindOf(const std::string& path) override {
      return path == "C:\\a\\b\\c" ? Kind::kFile : FakeDisk::KindOf(path);
    }
  } blocking;
  EXPECT_FALSE(CheckInstallPath("C:\\a\\b\\c\\d", blocking));
  EXPECT_EQ(blocking.made, (std::vector<std::string>{"C:\\a", "C:\\a\\b"}));
  EXPECT_EQ(blocking.removed, (std::vector<std::string>{"C:\\a\\b", "C:\\a"}));
  EXPECT_EQ(blocking.folders.count("C:\\a"), 0u);
}

TEST(InstallPathCheck, TrimAndSystemFolders) {
  EXPECT_EQ(TrimTrailingBackslashes("C:\\x\\\\"), "C:\\x");
  EXPECT_EQ(TrimTrailingBackslashes("\\\\"), "\\");
  EXPECT_EQ(TrimTrailingBackslashes(""), "");
  EXPECT_TRUE(IsUnderSystemFolder("c:\\windows\\games", "C:\\Windows", ""));
  EXPECT_TRUE(IsUnderSystemFolder("C:\\PROGRAM FILES\\x", "C:\\Windows", "C:\\Program Files"));
  EXPECT_FALSE(IsUnderSystemFolder("D:\\Windows", "C:\\Windows", "C:\\Program Files"));
  EXPECT_FALSE(IsUnderSystemFolder("C:\\Games", "", ""));  // unknown folders refuse nothing
}

}  // namespace
}  // namespace ld
