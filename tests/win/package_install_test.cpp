// Package installation against the loopback portal: packages published by
// the native ldtool, installed into a scratch folder through the real
// downloader, download batch, unpacking and verification.
#include "starter/package_install.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/checksum.h"
#include "core/error_codes.h"
#include "core/file_decision.h"
#include "core/verify_report.h"
#include "starter/download_log.h"
#include "starter/internet_open.h"
#include "starter/package_check.h"
#include "starter/progress_sink.h"
#include "starter/starter_app.h"
#include "tests/win/package_fixture.h"
#include "tests/win/win_test_support.h"

namespace ld {
namespace {

using test::FactsOf;
using test::PublishedPackage;
using test::ReadAll;
using test::RecordingPresenter;
using test::ScratchFolder;

void IgnoreDownloadLog(std::uint32_t, const char*) {}

struct RemoteRecord {
  uint32_t code;
  std::string text;
  std::string resource;
};

// The files of the test game: three folder levels, two program files in the
// root, a file large enough for several pieces and an empty one.
struct SourceFile {
  const char* relative;
  std::size_t size;
  int minute;
};
const SourceFile kGameFiles[] = {
    {"game.exe", 3000, 1},          {"helper.DLL", 777, 2},
    {"readme.txt", 50, 3},          {"empty.bin", 0, 4},
    {"data/a.dat", 100000, 5},      {"data/img/b.bmp", 4000, 6},
    {"data/img/deep/c.txt", 10, 8},
};

class PackageInstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LD_REQUIRE_PORTAL();
    if (test::NativeLdtool().empty()) GTEST_SKIP() << "no native ldtool";
    previous_log_ = SetDownloadLogHook(&IgnoreDownloadLog);
    cStarterApp::Get().ClearStop();
    context_.app = &cStarterApp::Get();
    context_.install_folder = install_.path();
    context_.distribution_address = "http://" + test::PortalAddress() + "/dist";
    context_.executables = &executables_;
    context_.driver_ui = [this](uint32_t wparam) { driver_ui_.push_back(wparam); };
    context_.remote_log = [this](uint32_t code, const std::string& text, const char* resource) {
      remote_.push_back({code, text, resource == nullptr ? "" : resource});
    };
    context_.exit_process = [this](int code) { exit_codes_.push_back(code); };
  }
  void TearDown() override {
    SetDownloadLogHook(previous_log_);
    cStarterApp::Get().ClearStop();
  }

  // Publishes the test game in the given list version.
  void PublishGame(PublishedPackage* package, const std::string& version,
                   const std::string& extra = std::string()) {
    uint32_t seed = 1;
    for (const SourceFile& file : kGameFiles) {
      package->AddFile(file.relative, test::NoiseBytes(file.size, ++seed), file.minute);
    }
    package->Publish(version, extra);
  }

  PackageDescriptor Descriptor(const PublishedPackage& package) {
    PackageDescriptor descriptor;
    descriptor.name = package.name();
    descriptor.update_list = package.list();
    descriptor.download_address = package.list().download_url;
    AppendInstallRecords(descriptor.update_list, &descriptor.records);
    descriptor.setup_total =
        AppendSetupInstallRecords(descriptor.update_list, &descriptor.setup_records);
    return descriptor;
  }

  // Every record's file is in place with the listed size, minute and sum.
  void ExpectInstalled(const PackageDescriptor& descriptor) {
    for (const FileRecord& record : descriptor.records) {
      const std::string path = FinalPath(install_.path(), record.dir_path, record.name);
      const test::FileFacts facts = FactsOf(path);
      ASSERT_TRUE(facts.exists) << path;
      EXPECT_EQ(record.size, facts.size) << path;
      EXPECT_TRUE(SameLocalMinute(TimeFromFileTime(facts.last_write), record.time)) << path;
      const std::string bytes = ReadAll(path);
      EXPECT_EQ(record.checksum, ByteSum(bytes.data(), bytes.size())) << path;
      EXPECT_FALSE(FactsOf(path + ".zip").exists) << "zip left behind: " << path;
    }
  }

  std::vector<std::string> ZipRequests(const PublishedPackage& package) {
    return test::ServedPaths("/dist/" + package.name() + "/");
  }

  ScratchFolder install_;
  InstallContext context_;
  ExecutableList executables_;
  std::vector<uint32_t> driver_ui_;
  std::vector<RemoteRecord> remote_;
  std::vector<int> exit_codes_;
  DownloadLogHook previous_log_ = nullptr;
};

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
    const std::string bytes = ReadAll(entry.path);
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

TEST_F(PackageInstallTest, OneChangedFileIsTheOnlyOneFetched) {
  PublishedPackage package(test::UniqueTag("HJC"));
  ASSERT_NO_FATAL_FAILURE(PublishGame(&package, "1.5.0"));
  PackageDescriptor descriptor = Descriptor(package);
  RecordingPresenter boxes;
  ScopedBoxPresenter scoped(&boxes);
  descriptor.bytes_to_download =
      CheckPackageFiles(install_.path(), &descriptor.records, &executables_);
  ASSERT_TRUE(InstallPackage(context_, descriptor));
  const std::size_t first_run = ZipRequests(package).size();
  ASSERT_EQ(7u, first_run);

  const std::string changed = install_.path() + "\\data\\img\\b.bmp";
  ASSERT_TRUE(test::WriteAll(changed, "damaged"));
  descriptor.bytes_to_download =
      CheckPackageFiles(install_.path(), &descriptor.records, &executables_);
  for (const FileRecord& record : descriptor.records) {
    EXPECT_EQ(record.name == "b.bmp" ? kSizeDiffers : kUpToDate, record.needs_update)
        << record.name;
  }
  ASSERT_TRUE(InstallPackage(context_, descriptor));
  const std::vector<std::string> requested = ZipRequests(package);
  ASSERT_EQ(first_run + 1, requested.size());
  EXPECT_EQ("/dist/" + package.name() + "/data/img/b.bmp.zip", requested.back());
  ExpectInstalled(descriptor);
  EXPECT_TRUE(boxes.boxes.empty());
}

// Holds a file open without sharing while the parent test asks for it: runs
// only as the helper process of the next test.
TEST(HoldFileHelper, HoldOpenUntilReleased) {
  const std::string path = test::Env("LD_HOLD_FILE");
  if (path.empty()) GTEST_SKIP() << "helper process only";
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, test::Env("LD_HOLD_READY").c_str());
  HANDLE release = ::OpenEventA(SYNCHRONIZE, FALSE, test::Env("LD_HOLD_RELEASE").c_str());
  ASSERT_NE(nullptr, ready);
  ASSERT_NE(nullptr, release);
  ::SetEvent(ready);
  ::WaitForSingleObject(release, 60000);
  ::CloseHandle(file);
  ::CloseHandle(ready);
  ::CloseHandle(release);
}

// Starts this test program as HoldFileHelper on `path`; stops it on
// destruction.
class FileHolder {
 public:
  explicit FileHolder(const std::string& path) {
    const std::string tag = test::UniqueTag("hj_hold");
    ready_ = ::CreateEventA(nullptr, TRUE, FALSE, (tag + "_ready").c_str());
    release_ = ::CreateEventA(nullptr, TRUE, FALSE, (tag + "_release").c_str());
    ::SetEnvironmentVariableA("LD_HOLD_FILE", path.c_str());
    ::SetEnvironmentVariableA("LD_HOLD_READY", (tag + "_ready").c_str());
    ::SetEnvironmentVariableA("LD_HOLD_RELEASE", (tag + "_release").c_str());
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    std::string line =
        std::string("\"") + self + "\" --gtest_filter=HoldFileHelper.HoldOpenUntilReleased";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    // The helper's own test report would only clutter this one's.
    startup.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION process = {};
    if (::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process)) {
      ::CloseHandle(process.hThread);
      process_ = process.hProcess;
      held_ = ::WaitForSingleObject(ready_, 30000) == WAIT_OBJECT_0;
    }
    for (const char* name : {"LD_HOLD_FILE", "LD_HOLD_READY", "LD_HOLD_RELEASE"}) {
      ::SetEnvironmentVariableA(name, nullptr);
    }
  }
  ~FileHolder() {
    ::SetEvent(release_);
    if (process_ != nullptr) {
      if (::WaitForSingleObject(process_, 20000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_, 1);
      }
      ::CloseHandle(process_);
    }
    ::CloseHandle(ready_);
    ::CloseHandle(release_);
  }
  bool held() const { return held_; }

 private:
  HANDLE ready_ = nullptr;
  HANDLE release_ = nullptr;
  HANDLE process_ = nullptr;
  bool held_ = false;
};

TEST_F(PackageInstallTest, FileHeldByAnotherProcessAsksAndNoContinues) {
  PublishedPackage package(test::UniqueTag("HJH"));
  ASSERT_NO_FATAL_FAILURE(PublishGame(&package, "1.5.0"));
  PackageDescriptor descriptor = Descriptor(package);
  {
    RecordingPresenter quiet;
    ScopedBoxPresenter scoped(&quiet);
    descriptor.bytes_to_download =
        CheckPackageFiles(install_.path(), &descriptor.records, &executables_);
    ASSERT_TRUE(InstallPackage(context_, descriptor));
  }
  const std::string held_path = install_.path() + "\\readme.txt";
  ASSERT_TRUE(test::WriteAll(held_path, "local edit"));

  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDNO ? "answer No" : "answer Yes");
    exit_codes_.clear();
    descriptor.bytes_to_download =
        CheckPackageFiles(install_.path(), &descriptor.records, &executables_);
    ASSERT_NE(0u, descriptor.bytes_to_download);
    RecordingPresenter boxes(answer);
    {
      FileHolder holder(held_path);
      ASSERT_TRUE(holder.held());
      ScopedBoxPresenter scoped(&boxes);
      EXPECT_TRUE(InstallPackage(context_, descriptor));
    }
    ASSERT_EQ(1u, boxes.boxes.size());
    const test::ShownBox& box = boxes.boxes[0];
    EXPECT_NE(std::string::npos, box.text.find("(count=1)")) << box.text;
    EXPECT_NE(std::string::npos, box.caption.find("0018000A")) << box.caption;
    EXPECT_NE(std::string::npos, box.caption.find(package.name())) << box.caption;
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), box.style & MB_TYPEMASK);
    // No continues; any other answer ends the program with -1.
    EXPECT_EQ(answer == IDNO ? std::vector<int>{} : std::vector<int>{-1}, exit_codes_);
    // The old file stays and the downloaded zip waits beside it.
    EXPECT_EQ("local edit", ReadAll(held_path));
    EXPECT_TRUE(FactsOf(held_path + ".zip").exists);
  }
}

TEST_F(PackageInstallTest, CorruptZipAndMissingEntryAreFoundByVerification) {
  PublishedPackage package(test::UniqueTag("HJV"));
  ASSERT_NO_FATAL_FAILURE(PublishGame(&package, "1.5.0"));
  ASSERT_TRUE(test::WriteAll(package.ServedPath("data/a.dat.zip"), test::NoiseBytes(5000, 9)));
  ASSERT_TRUE(test::WriteZip(package.ServedPath("readme.txt.zip"), {{"not-readme.txt", "x"}}));
  PackageDescriptor descriptor = Descriptor(package);
  descriptor.bytes_to_download =
      CheckPackageFiles(install_.path(), &descriptor.records, &executables_);
  RecordingPresenter boxes(IDNO);
  ScopedBoxPresenter scoped(&boxes);

  EXPECT_TRUE(InstallPackage(context_, descriptor));
  ASSERT_EQ(3u, boxes.boxes.size());
  for (int i = 0; i < 2; ++i) {
    EXPECT_NE(std::string::npos, boxes.boxes[i].caption.find(kAttributesDetail));
  }
  EXPECT_NE(std::string::npos, boxes.boxes[0].text.find("<" + install_.path() + "\\readme.txt>"))
      << boxes.boxes[0].text;
  EXPECT_NE(std::string::npos, boxes.boxes[1].text.find("<" + install_.path() + "\\data\\a.dat>"))
      << boxes.boxes[1].text;
  EXPECT_NE(std::string::npos, boxes.boxes[2].text.find("(count=2)")) << boxes.boxes[2].text;
  EXPECT_TRUE(exit_codes_.empty());
}

TEST_F(PackageInstallTest, FileMissingOnTheServerGivesString179) {
  PublishedPackage package(test::UniqueTag("HJM"));
  ASSERT_NO_FATAL_FAILURE(PublishGame(&package, "1.5.0"));
  ASSERT_TRUE(::DeleteFileA(package.ServedPath("data/img/b.bmp.zip").c_str()));
  PackageDescriptor descriptor = Descriptor(package);
  descriptor.bytes_to_download =
      CheckPackageFiles(install_.path(), &descriptor.records, &executables_);
  RecordingPresenter boxes;
  ScopedBoxPresenter scoped(&boxes);

  EXPECT_FALSE(InstallPackage(context_, descriptor));
  ASSERT_EQ(1u, boxes.boxes.size());
  EXPECT_EQ(LoadText(IDS_FAIL_GAMEFILEDOWNLOAD), boxes.boxes[0].text);
  EXPECT_NE(std::string::npos, boxes.boxes[0].caption.find("0018000A"));
  ASSERT_EQ(1u, remote_.size());
  EXPECT_EQ(error_code::kDiskSpaceOrFiles, remote_[0].code);
  EXPECT_EQ(package.name(), remote_[0].text);
  EXPECT_EQ("IDS_FAIL_GAMEFILEDOWNLOAD", remote_[0].resource);
  EXPECT_TRUE(exit_codes_.empty());
}

// Records what the meters show on "PROGRESS2".
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
    ASSERT_TRUE(test::WriteAll(path, test::NoiseBytes(1000 * (i + 1), 40 + i)));
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
