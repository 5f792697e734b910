#include "core/install/install_paths.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace ld {
namespace {

TEST(InstallPaths, FinalPathAndTargetFolder) {
  struct Case {
    const char* dir;
    const char* final_path;
    const char* target;
  };
  const Case cases[] = {
      {"", "C:\\Games\\Tabla\\a.dat", "C:\\Games\\Tabla"},
      {"\\", "C:\\Games\\Tabla\\a.dat", "C:\\Games\\Tabla\\"},
      {"\\data", "C:\\Games\\Tabla\\data\\a.dat", "C:\\Games\\Tabla\\data"},
      {"C:\\WINDOWS\\Fonts", "C:\\WINDOWS\\Fonts\\a.dat", "C:\\WINDOWS\\Fonts"},
      // Never produced by update lists; must still stay inside the folder.
      {"data", "C:\\Games\\Tabla\\data\\a.dat", "C:\\Games\\Tabla\\data"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.final_path, FinalPath("C:\\Games\\Tabla", c.dir, "a.dat")) << c.dir;
    EXPECT_EQ(c.target, TargetFolder("C:\\Games\\Tabla", c.dir)) << c.dir;
  }
}

TEST(InstallPaths, RemoteAddresses) {
  struct Case {
    const char* package;
    const char* download;
    bool newer;
    const char* dir;
    const char* address;
  };
  const Case cases[] = {
      {"TABLA", "http://h/dist", true, "\\", "http://h/dist/TABLA/a.dll.zip"},
      {"TABLA", "http://h/dist", true, "", "http://h/dist/TABLA/a.dll.zip"},
      {"TABLA", "http://h/dist", true, "\\data", "http://h/dist/TABLA/data/a.dll.zip"},
      {"TABLA", "http://h/dist", false, "\\data", "http://h/dist/TABLA/a.dll.zip"},
      {"TABLA", "http://h/dist", true, "data", "http://h/dist/TABLA/data/a.dll.zip"},
      // A machine's own folder cannot be part of a server path.
      {"TABLA", "http://h/dist", true, "C:\\WINDOWS\\Fonts", "http://h/dist/TABLA/a.dll.zip"},
      // base2005 in any case, and too short download addresses, use the
      // launch string's distribution address.
      {"BASE2005", "http://h/dist", true, "\\", "http://k89e/dist/BASE2005/a.dll.zip"},
      {"base2005", "http://h/dist", false, "\\x", "http://k89e/dist/base2005/a.dll.zip"},
      {"base2006", "http://h/dist", false, "\\", "http://h/dist/base2006/a.dll.zip"},
      {"TABLA", "/", true, "\\", "http://k89e/dist/TABLA/a.dll.zip"},
      {"TABLA", "ab", true, "\\", "ab/TABLA/a.dll.zip"},
  };
  for (const Case& c : cases) {
    PackageSource source{c.package, c.download, "http://k89e/dist", c.newer};
    EXPECT_EQ(c.address, RemoteFileAddress(source, c.dir, "a.dll"))
        << c.package << " " << c.download << " " << c.newer << " " << c.dir;
  }
}

TEST(InstallPaths, SetupAddressHasNoZipSuffix) {
  PackageSource source{"FLORAEX", "http://h/dist", "http://k89e/dist", true};
  EXPECT_EQ("http://h/dist/FLORAEX/setup/pack.zip",
            RemoteSetupAddress(source, "\\setup", "pack.zip"));
  source.newer_layout = false;
  EXPECT_EQ("http://h/dist/FLORAEX/pack.zip", RemoteSetupAddress(source, "\\setup", "pack.zip"));
}

class FakeDisk {
 public:
  std::map<std::string, PathKind> entries;
  PathKindFn Fn() {
    return [this](const std::string& p) {
      auto it = entries.find(p);
      return it == entries.end() ? PathKind::kMissing : it->second;
    };
  }
};

std::string Describe(const std::vector<FolderStep>& steps) {
  std::string out;
  for (const FolderStep& s : steps) out += (s.delete_file_first ? "-" : "+") + s.path + ";";
  return out;
}

TEST(PlanCreateFolder, Cases) {
  struct Case {
    const char* label;
    std::map<std::string, PathKind> disk;
    const char* path;
    const char* plan;
  };
  const auto D = PathKind::kDirectory;
  const auto F = PathKind::kFile;
  const Case cases[] = {
      {"existing", {{"C:", D}, {"C:\\G", D}}, "C:\\G", ""},
      {"trailing_backslash_ignored", {{"C:", D}, {"C:\\G", D}}, "C:\\G\\", ""},
      {"one_level", {{"C:", D}, {"C:\\G", D}}, "C:\\G\\a", "+C:\\G\\a;"},
      {"missing_parents_outermost_first",
       {{"C:", D}},
       "C:\\G\\a\\b\\",
       "+C:\\G;+C:\\G\\a;+C:\\G\\a\\b;"},
      {"plain_file_in_the_way", {{"C:", D}, {"C:\\G", F}}, "C:\\G", "-C:\\G;"},
      {"parent_is_plain_file",
       {{"C:", D}, {"C:\\G", D}, {"C:\\G\\a", F}},
       "C:\\G\\a\\b",
       "-C:\\G\\a;+C:\\G\\a\\b;"},
      {"relative_name", {}, "data", "+data;"},
      {"empty", {}, "", ""},
      {"root_only", {}, "\\", ""},
  };
  for (const Case& c : cases) {
    FakeDisk disk;
    disk.entries = c.disk;
    EXPECT_EQ(c.plan, Describe(PlanCreateFolder(c.path, disk.Fn()))) << c.label;
  }
}

TEST(DiskSpace, DrivePart) {
  EXPECT_EQ("C:\\", DrivePart("C:\\Games\\Tabla").value_or("none"));
  EXPECT_EQ("C:\\", DrivePart("C:\\").value_or("none"));
  EXPECT_EQ("\\\\?\\C:\\", DrivePart("\\\\?\\C:\\Games").value_or("none"));
  EXPECT_FALSE(DrivePart("Games\\Tabla"));
  EXPECT_FALSE(DrivePart("C:Games"));
  EXPECT_FALSE(DrivePart("\\\\server\\share\\Games"));
  EXPECT_FALSE(DrivePart("abcdefgh:\\x"));  // 10 characters up to ":\"
  EXPECT_EQ("abcdefg:\\", DrivePart("abcdefg:\\x").value_or("none"));
}

TEST(DiskSpace, KibRoundingAndPlentyShortcut) {
  constexpr uint64_t kMiB = 1024 * 1024;
  constexpr uint64_t k4TiB = uint64_t{1} << 42;
  EXPECT_EQ(0, EnoughDiskSpace(5 * kMiB, 5 * kMiB + 1));
  EXPECT_EQ(1, EnoughDiskSpace(5 * kMiB, 5 * kMiB));
  EXPECT_EQ(1, EnoughDiskSpace(5 * kMiB + 1023, 5 * kMiB));
  EXPECT_EQ(0, EnoughDiskSpace(1023, 1));  // 0 whole KiB free
  EXPECT_EQ(1, EnoughDiskSpace(0, 0));
  EXPECT_EQ(1, EnoughDiskSpace(k4TiB, k4TiB * 2));
  EXPECT_EQ(0, EnoughDiskSpace(k4TiB - 1024, k4TiB));
}

TEST(DiskSpace, CheckSumsPackagesWithoutWrapping) {
  std::string asked;
  uint64_t free_bytes = uint64_t{4} << 30;  // 4 GiB
  auto query = [&](const std::string& drive, uint64_t* out) {
    asked = drive;
    *out = free_bytes;
    return true;
  };
  // Three 2 GiB packages need 6 GiB; a 32-bit total would wrap to 2 GiB.
  EXPECT_EQ(0, CheckDiskSpace("D:\\Games", {0x80000000u, 0x80000000u, 0x80000000u}, query));
  EXPECT_EQ("D:\\", asked);
  EXPECT_EQ(1, CheckDiskSpace("D:\\Games", {0x80000000u, 0x7FFFFFFFu}, query));
  EXPECT_EQ(-1, CheckDiskSpace("Games", {1}, query));
  auto failing = [](const std::string&, uint64_t*) { return false; };
  EXPECT_EQ(0, CheckDiskSpace("D:\\Games", {1}, failing));
  EXPECT_EQ(1, CheckDiskSpace("D:\\Games", {}, failing));
}

}  // namespace
}  // namespace ld
