// Package installation against the loopback portal: packages published by
// the native ldtool, installed into a scratch folder through the real
// downloader, download batch and unpacking.
#include "starter/install/package_install.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/base/checksum.h"
#include "core/install/file_decision.h"
#include "starter/install/package_check.h"
#include "starter/download/progress_sink.h"
#include "starter/app/starter_app.h"
#include "tests/win/support/package_install_fixture.h"

namespace ld {
namespace {

using test::FactsOf;
using test::PackageInstallTest;
using test::PublishedPackage;
using test::ReadWholeFile;
using test::RecordingPresenter;
using test::ScratchFolder;

class FreshInstall : public PackageInstallTest,
                     public ::testing::WithParamInterface<const char*> {};

TEST_P(FreshInstall, EveryFileLandsAndASecondCheckFindsNothing) {
  PublishedPackage package(test::UniqueTag("HJF"));
  ASSERT_NO_FATAL_FAILURE(PublishGame(&package, GetParam()));
  PackageDescriptor descriptor = Descriptor(package);
  ASSERT_EQ(7u, descriptor.records.size());
  RecordingPresenter boxes;
  ScopedBoxPresenter scoped(&boxes);

  descriptor.bytes_to_download =
      CheckPackageFiles(install_.path(), &descriptor.records, &executables_);
  uint32_t all_zips = 0;
  for (const FileRecord& record : descriptor.records) {
    EXPECT_EQ(kFileMissing, record.needs_update) << record.name;
    all_zips += record.zip_size;
  }
  EXPECT_EQ(all_zips, descriptor.bytes_to_download);

  ASSERT_TRUE(InstallPackage(context_, descriptor));
  EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes[0].caption << "\n" << boxes.boxes[0].text;
  EXPECT_TRUE(remote_.empty());
  EXPECT_TRUE(exit_codes_.empty());
  EXPECT_EQ(std::vector<uint32_t>{kDriverUiFileProgress}, driver_ui_);
  ASSERT_NO_FATAL_FAILURE(ExpectInstalled(descriptor));

  // Both root program files were measured after the download.
  ASSERT_EQ(2u, executables_.size());
  std::sort(executables_.begin(), executables_.end(),
            [](const ExecutableEntry& a, const ExecutableEntry& b) { return a.path < b.path; });
  EXPECT_EQ(install_.path() + "\\game.exe", executables_[0].path);
  EXPECT_EQ(3000u, executables_[0].size);
  EXPECT_EQ(install_.path() + "\\helper.DLL", executables_[1].path);
  EXPECT_EQ(777u, executables_[1].size);
  for (const ExecutableEntry& entry : executables_) {
    const std::string bytes = ReadWholeFile(entry.path);
    EXPECT_EQ(ByteSum(bytes.data(), bytes.size()), entry.checksum);
  }

  // The zips came from where the layout puts them.
  std::vector<std::string> requested = ZipRequests(package);
  std::sort(requested.begin(), requested.end());
  const std::string base = "/dist/" + package.name() + "/";
  const bool newer = std::string(GetParam()) >= "1.5.0";
  std::vector<std::string> expected = {base + (newer ? "data/a.dat.zip" : "a.dat.zip"),
                                       base + (newer ? "data/img/b.bmp.zip" : "b.bmp.zip"),
                                       base + (newer ? "data/img/deep/c.txt.zip" : "c.txt.zip"),
                                       base + "empty.bin.zip",
                                       base + "game.exe.zip",
                                       base + "helper.DLL.zip",
                                       base + "readme.txt.zip"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, requested);

  // Nothing left to do, and the root programs are listed from the records.
  ExecutableList second;
  EXPECT_EQ(0u, CheckPackageFiles(install_.path(), &descriptor.records, &second));
  for (const FileRecord& record : descriptor.records) {
    EXPECT_EQ(kUpToDate, record.needs_update) << record.name;
  }
  EXPECT_EQ(2u, second.size());
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, FreshInstall, ::testing::Values("1.5.0", "1.0.0"));

// Records the file bar positions and the file names the installer shows.
class FileBarRecorder : public ProgressSink {
 public:
  void SetBarRange(const char*, uint32_t) override {}
  void SetBarPosition(const char* bar, uint32_t position) override {
    if (std::string(bar) == kFileBar) positions.push_back(position);
  }
  void SetText(const char* control, const std::string& text) override {
    if (std::string(control) == kFileNameText) names.push_back(text);
  }
  std::vector<uint32_t> positions;
  std::vector<std::string> names;
};

TEST_F(PackageInstallTest, SetupArchivesUnpackEveryEntryInOrder) {
  // A base package carries the archive; the game package has none.
  PublishedPackage base(test::UniqueTag("HJS"));
  base.AddFile("base.txt", "base", 1);
  const std::string setup_source = base.work_unix() + "/setup";
  const std::vector<std::string> entries = {"one.txt", "sub/two.txt", "sub/inner/three.txt",
                                            "four.bin"};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::string path = test::WinePath(setup_source + "/" + entries[i]);
    for (std::size_t at = path.find('\\', 3); at != std::string::npos;
         at = path.find('\\', at + 1)) {
      ::CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    }
    ASSERT_TRUE(test::WriteAll(path, test::PatternBytes(1000 * (i + 1), 40 + i)));
  }
  ASSERT_NO_FATAL_FAILURE(base.Publish("1.5.0", "--setup /redist/pack.zip=" + setup_source));
  PackageDescriptor game_descriptor;
  game_descriptor.name = "nosetup";
  std::vector<PackageDescriptor> packages = {game_descriptor, Descriptor(base)};
  ASSERT_EQ(1u, packages[1].setup_records.size());

  char previous_folder[MAX_PATH] = {};
  ::GetCurrentDirectoryA(sizeof previous_folder, previous_folder);
  FileBarRecorder sink;
  int result = 0;
  {
    ScopedProgressSink scoped(&sink);
    result = InstallSetupPackages(context_, &packages);
  }
  char current_folder[MAX_PATH] = {};
  ::GetCurrentDirectoryA(sizeof current_folder, current_folder);
  ::SetCurrentDirectoryA(previous_folder);

  // Bit (index + 1) of the package whose archives were installed.
  EXPECT_EQ(1 | (1 << 2), result);
  const std::string folder = install_.path() + "\\redist";
  EXPECT_EQ(folder, std::string(current_folder));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::string relative = entries[i];
    std::replace(relative.begin(), relative.end(), '/', '\\');
    const test::FileFacts facts = FactsOf(folder + "\\" + relative);
    EXPECT_TRUE(facts.exists) << relative;
    EXPECT_EQ(1000u * (i + 1), facts.size) << relative;
  }
  EXPECT_FALSE(FactsOf(folder + "\\pack.zip").exists);
  EXPECT_EQ(std::vector<std::string>{"pack.zip"}, sink.names);
  EXPECT_EQ((std::vector<uint32_t>{kDriverUiSetupMessage, kDriverUiNoMessage}), driver_ui_);

  // The unpacking half of the file bar: one step per entry, in order.
  std::vector<uint32_t> unpacking;
  for (uint32_t position : sink.positions) {
    if (position > 50) unpacking.push_back(position);
  }
  EXPECT_TRUE(std::is_sorted(unpacking.begin(), unpacking.end()));
  ASSERT_FALSE(unpacking.empty());
  EXPECT_EQ(100u, unpacking.back());
  EXPECT_GE(unpacking.size(), entries.size() - 1);
}

TEST_F(PackageInstallTest, StopBeforeTheBatchCountsAsDoneWithoutVerification) {
  PublishedPackage package(test::UniqueTag("HJT"));
  ASSERT_NO_FATAL_FAILURE(PublishGame(&package, "1.5.0"));
  PackageDescriptor descriptor = Descriptor(package);
  descriptor.bytes_to_download =
      CheckPackageFiles(install_.path(), &descriptor.records, &executables_);
  RecordingPresenter boxes;
  ScopedBoxPresenter scoped(&boxes);
  cStarterApp::Get().RequestStop();
  EXPECT_TRUE(InstallPackage(context_, descriptor));
  cStarterApp::Get().ClearStop();
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(ZipRequests(package).empty());
}

TEST(DeleteUninstallFiles, ListedFilesGoReadOnlyOrNot) {
  ScratchFolder install_;
  PackageDescriptor descriptor;
  descriptor.update_list.uninstall = {{"\\data", {{"old.dat"}, {"gone.dat"}}}};
  ::CreateDirectoryA((install_.path() + "\\data").c_str(), nullptr);
  const std::string old_file = install_.path() + "\\data\\old.dat";
  ASSERT_TRUE(test::WriteAll(old_file, "old"));
  ::SetFileAttributesA(old_file.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(test::WriteAll(install_.path() + "\\data\\kept.dat", "kept"));
  DeleteUninstallFiles(install_.path(), {descriptor});
  EXPECT_FALSE(FactsOf(old_file).exists);
  EXPECT_TRUE(FactsOf(install_.path() + "\\data\\kept.dat").exists);
}

}  // namespace
}  // namespace ld
