#include "starter/install/zip_extract.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/win/support/package_fixture.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::FactsOf;
using test::ReadWholeFile;
using test::ZipEntrySpec;

// Names of everything directly inside `folder`, sorted.
std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(find, &data))
    if (data.cFileName[0] != '.') names.push_back(data.cFileName);
  ::FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

class ZipExtractTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(::CreateDirectoryA(target_.c_str(), nullptr)); }
  std::string Zip(const std::string& name, const std::vector<ZipEntrySpec>& entries) {
    EXPECT_TRUE(test::WriteZip(scratch_.Sub(name), entries)) << name;
    return scratch_.Sub(name);
  }

  test::ScratchFolder scratch_;
  std::string target_ = scratch_.Sub("target");
};

TEST_F(ZipExtractTest, MissingEntryOrDamagedZipWritesNothing) {
  const std::string zip = Zip("c.zip", {{"present.txt", "x"}});
  const std::string whole = ReadWholeFile(zip);
  test::ScratchFolder::WriteFile(scratch_.Sub("garbage.zip"), test::PatternBytes(3000, 1));
  // Cut off inside the central directory.
  test::ScratchFolder::WriteFile(scratch_.Sub("cut.zip"), whole.substr(0, whole.size() - 30));
  EXPECT_FALSE(ExtractZipEntry(zip, "absent.txt", target_));
  for (const char* name : {"nowhere.zip", "garbage.zip", "cut.zip"})
    EXPECT_FALSE(ExtractZipEntry(scratch_.Sub(name), "present.txt", target_)) << name;
  EXPECT_FALSE(ExtractArchive(scratch_.Sub("garbage.zip"), target_, nullptr).opened);
  EXPECT_TRUE(Listing(target_).empty());

  // A damaged entry keeps the write time of now, so the file is fetched again.
  ZipEntrySpec entry{"data.bin", std::string(4000, 'A') + "MARKER" + std::string(4000, 'B')};
  entry.stored = true;
  entry.year = 2001;
  std::string bytes = ReadWholeFile(Zip("crc.zip", {entry}));
  ASSERT_NE(std::string::npos, bytes.find("MARKER"));
  bytes[bytes.find("MARKER")] = 'N';
  test::ScratchFolder::WriteFile(scratch_.Sub("crc.zip"), bytes);
  EXPECT_FALSE(ExtractZipEntry(scratch_.Sub("crc.zip"), "data.bin", target_));
  EXPECT_NE(-1, FactsOf(target_ + "\\data.bin").size);
  EXPECT_NE(2001, FactsOf(target_ + "\\data.bin").local_write.wYear);
}

// Entries that name places outside the target folder are refused; nothing
// lands beside or above it, and the rest of an archive still unpacks.
TEST_F(ZipExtractTest, EntriesOutsideTheTargetFolderAreRefused) {
  const std::vector<std::string> unsafe = {"sub/../../evil.txt", ".. /evil.txt", "\\evil.txt",
                                           scratch_.path() + "\\evil.txt", "C:evil.txt"};
  std::vector<ZipEntrySpec> mixed = {{"good1.txt", "1"}};
  for (const std::string& name : unsafe) {
    EXPECT_FALSE(ExtractZipEntry(Zip("slip.zip", {{name, "pwned"}}), name, target_)) << name;
    mixed.push_back({name, "pwned"});
  }
  mixed.push_back({"dir/good2.txt", "2"});
  const ArchiveResult archive = ExtractArchive(Zip("mixed.zip", mixed), target_, nullptr);
  EXPECT_TRUE(archive.opened && !archive.failed);
  EXPECT_EQ(unsafe.size(), archive.refused);
  EXPECT_EQ(mixed.size(), archive.done);
  EXPECT_EQ("2", ReadWholeFile(target_ + "\\dir\\good2.txt"));
  EXPECT_EQ(-1, FactsOf("C:\\evil.txt").size);
  EXPECT_EQ((std::vector<std::string>{"mixed.zip", "slip.zip", "target"}),
            Listing(scratch_.path()));
  EXPECT_EQ((std::vector<std::string>{"dir", "good1.txt"}), Listing(target_));
  // A stop asked for at the first entry ends the unpacking there.
  const ArchiveResult stopped =
      ExtractArchive(scratch_.Sub("mixed.zip"), target_, [](uint32_t, uint32_t) { return false; });
  EXPECT_TRUE(stopped.stopped && stopped.done == 1);
}

}  // namespace
}  // namespace ld
