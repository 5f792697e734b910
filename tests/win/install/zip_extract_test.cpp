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
using test::LocalTimeOf;
using test::ReadWholeFile;
using test::ScratchFolder;
using test::WriteZip;
using test::ZipEntrySpec;

// Names of everything directly inside `folder`.
std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = data.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
  return names;
}

class ZipExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    target_ = scratch_.Sub("target");
    ASSERT_TRUE(::CreateDirectoryA(target_.c_str(), nullptr));
  }
  std::string Zip(const std::string& name, const std::vector<ZipEntrySpec>& entries) {
    const std::string path = scratch_.Sub(name);
    EXPECT_TRUE(WriteZip(path, entries)) << path;
    return path;
  }

  ScratchFolder scratch_;
  std::string target_;
};

TEST_F(ZipExtractTest, NamedEntryFoundWithoutCaseTakesItsStoredNameAndTime) {
  ZipEntrySpec wanted{"ReadMe.TXT", "the right one"};
  wanted.year = 2004, wanted.month = 2, wanted.day = 29, wanted.hour = 23, wanted.minute = 59;
  wanted.second = 58;
  const std::string zip = Zip("a.zip", {{"other.txt", "not this"}, wanted});

  ASSERT_TRUE(ExtractZipEntry(zip, "readme.txt", target_));
  EXPECT_EQ(std::vector<std::string>{"ReadMe.TXT"}, Listing(target_));
  EXPECT_EQ("the right one", ReadWholeFile(target_ + "\\ReadMe.TXT"));
  const test::FileFacts facts = FactsOf(target_ + "\\ReadMe.TXT");
  for (const FILETIME& time : {facts.last_write, facts.creation}) {
    const SYSTEMTIME local = LocalTimeOf(time);
    EXPECT_EQ(2004, local.wYear);
    EXPECT_EQ(2, local.wMonth);
    EXPECT_EQ(29, local.wDay);
    EXPECT_EQ(23, local.wHour);
    EXPECT_EQ(59, local.wMinute);
    EXPECT_EQ(58, local.wSecond);
  }
}

TEST_F(ZipExtractTest, StoredPathMakesItsFoldersAndLargeDataSurvivesThePieces) {
  // Several 8192-byte pieces and a short last one.
  const std::string big = test::PatternBytes(5 * 8192 + 123, 7);
  const std::string zip = Zip("b.zip", {{"sub/deeper/x.bin", big}, {"empty.bin", ""}});
  ASSERT_TRUE(ExtractZipEntry(zip, "SUB/Deeper/X.BIN", target_));
  EXPECT_EQ(big, ReadWholeFile(target_ + "\\sub\\deeper\\x.bin"));
  // A zero-byte entry gives an empty file with the entry's time.
  ASSERT_TRUE(ExtractZipEntry(zip, "empty.bin", target_));
  const test::FileFacts empty = FactsOf(target_ + "\\empty.bin");
  EXPECT_TRUE(empty.exists);
  EXPECT_EQ(0u, empty.size);
  EXPECT_EQ(2009, LocalTimeOf(empty.last_write).wYear);
}

TEST_F(ZipExtractTest, ReplacesAnOlderFileAndFallsBackToZipSuffix) {
  ASSERT_TRUE(test::WriteAll(target_ + "\\pkg.dat", "old content that is longer"));
  // The download leaves "<final path>.zip"; callers may name it either way.
  Zip("pkg.dat.zip", {{"pkg.dat", "new"}});
  ASSERT_TRUE(ExtractZipEntry(scratch_.Sub("pkg.dat"), "pkg.dat", target_));
  EXPECT_EQ("new", ReadWholeFile(target_ + "\\pkg.dat"));
}

TEST_F(ZipExtractTest, MissingEntryOrDamagedZipWritesNothing) {
  const std::string zip = Zip("c.zip", {{"present.txt", "x"}});
  EXPECT_FALSE(ExtractZipEntry(zip, "absent.txt", target_));
  EXPECT_FALSE(ExtractZipEntry(scratch_.Sub("nowhere.zip"), "present.txt", target_));

  const std::string garbage = scratch_.Sub("garbage.zip");
  ASSERT_TRUE(test::WriteAll(garbage, test::PatternBytes(3000, 1)));
  EXPECT_FALSE(ExtractZipEntry(garbage, "present.txt", target_));
  const ArchiveResult archive = ExtractArchive(garbage, target_, nullptr);
  EXPECT_FALSE(archive.opened);

  // Cut off inside the central directory.
  const std::string whole = ReadWholeFile(zip);
  const std::string cut = scratch_.Sub("cut.zip");
  ASSERT_TRUE(test::WriteAll(cut, whole.substr(0, whole.size() - 30)));
  EXPECT_FALSE(ExtractZipEntry(cut, "present.txt", target_));
  EXPECT_TRUE(Listing(target_).empty());
}

TEST_F(ZipExtractTest, CrcMismatchKeepsTheWriteTimeSoTheFileIsFetchedAgain) {
  ZipEntrySpec entry{"data.bin", std::string(4000, 'A') + "MARKER" + std::string(4000, 'B')};
  entry.stored = true;
  entry.year = 2001;
  const std::string zip = Zip("crc.zip", {entry});
  std::string bytes = ReadWholeFile(zip);
  const std::size_t at = bytes.find("MARKER");
  ASSERT_NE(std::string::npos, at);
  bytes[at] = 'N';
  ASSERT_TRUE(test::WriteAll(zip, bytes));

  EXPECT_FALSE(ExtractZipEntry(zip, "data.bin", target_));
  const test::FileFacts facts = FactsOf(target_ + "\\data.bin");
  ASSERT_TRUE(facts.exists);
  EXPECT_NE(2001, LocalTimeOf(facts.last_write).wYear);
}

// Entries that name places outside the target folder are refused; nothing
// lands beside or above it, and the rest of an archive still unpacks.
TEST_F(ZipExtractTest, EntriesOutsideTheTargetFolderAreRefused) {
  const std::string outside_file = scratch_.path() + "\\evil.txt";
  const std::vector<std::string> unsafe = {
      "../evil.txt",
      "..\\evil.txt",
      "sub/../../evil.txt",
      ".. /evil.txt",
      "/evil.txt",
      "\\evil.txt",
      scratch_.path() + "\\evil.txt",  // absolute with its drive letter
      "C:evil.txt",
  };
  for (const std::string& name : unsafe) {
    const std::string zip = Zip("slip.zip", {{name, "pwned"}});
    EXPECT_FALSE(ExtractZipEntry(zip, name, target_)) << name;
  }
  std::vector<ZipEntrySpec> mixed = {{"good1.txt", "1"}};
  for (const std::string& name : unsafe) mixed.push_back({name, "pwned"});
  mixed.push_back({"dir/good2.txt", "2"});
  const ArchiveResult archive = ExtractArchive(Zip("mixed.zip", mixed), target_, nullptr);

  EXPECT_TRUE(archive.opened);
  EXPECT_FALSE(archive.failed);
  EXPECT_EQ(unsafe.size(), archive.refused);
  EXPECT_EQ(mixed.size(), archive.done);
  EXPECT_EQ("1", ReadWholeFile(target_ + "\\good1.txt"));
  EXPECT_EQ("2", ReadWholeFile(target_ + "\\dir\\good2.txt"));
  EXPECT_FALSE(FactsOf(outside_file).exists);
  EXPECT_FALSE(FactsOf("C:\\evil.txt").exists);
  std::vector<std::string> beside = Listing(scratch_.path());
  for (const std::string& name : beside) {
    EXPECT_TRUE(name == "target" || name.find(".zip") != std::string::npos) << name;
  }
  std::vector<std::string> inside = Listing(target_);
  std::sort(inside.begin(), inside.end());
  EXPECT_EQ((std::vector<std::string>{"dir", "good1.txt"}), inside);
}

TEST_F(ZipExtractTest, ArchiveUnpacksEveryEntryInOrderAndStopsWhenAsked) {
  const std::vector<ZipEntrySpec> entries = {
      {"one.txt", "1"}, {"folder/", ""}, {"folder/two.txt", "22"}, {"three/four.txt", "444"}};
  const std::string zip = Zip("setup.zip", entries);

  const std::vector<std::string> outputs = {"one.txt", "folder", "folder\\two.txt",
                                            "three\\four.txt"};
  std::vector<std::pair<uint32_t, uint32_t>> calls;
  std::vector<bool> present_at_call;
  const ArchiveResult all = ExtractArchive(zip, target_, [&](uint32_t done, uint32_t count) {
    calls.emplace_back(done, count);
    // The entry just reported is on disk, the next one not yet.
    present_at_call.push_back(FactsOf(target_ + "\\" + outputs[done - 1]).exists);
    if (done < outputs.size())
      present_at_call.push_back(!FactsOf(target_ + "\\" + outputs[done]).exists);
    return true;
  });
  EXPECT_TRUE(all.opened);
  EXPECT_EQ(4u, all.entries);
  EXPECT_EQ(4u, all.done);
  EXPECT_FALSE(all.stopped);
  EXPECT_EQ((std::vector<std::pair<uint32_t, uint32_t>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}), calls);
  EXPECT_EQ(std::vector<bool>(7, true), present_at_call);
  EXPECT_EQ("22", ReadWholeFile(target_ + "\\folder\\two.txt"));
  EXPECT_EQ("444", ReadWholeFile(target_ + "\\three\\four.txt"));

  const std::string second = scratch_.Sub("second");
  ::CreateDirectoryA(second.c_str(), nullptr);
  const ArchiveResult stopped =
      ExtractArchive(zip, second, [](uint32_t done, uint32_t) { return done < 2; });
  EXPECT_TRUE(stopped.stopped);
  EXPECT_EQ(2u, stopped.done);
  EXPECT_TRUE(FactsOf(second + "\\one.txt").exists);
  EXPECT_FALSE(FactsOf(second + "\\folder\\two.txt").exists);
}

}  // namespace
}  // namespace ld
