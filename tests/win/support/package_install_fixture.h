// The fixture of the package installation tests: a scratch install folder,
// an installation context that records the window messages, remote-log
// records and exit requests instead of acting on them, and the test game
// published into the loopback portal's tree.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/base/checksum.h"
#include "core/install/file_decision.h"
#include "starter/download/download_log.h"
#include "starter/platform/file_time_value.h"
#include "starter/install/package_check.h"
#include "starter/install/package_install.h"
#include "starter/app/starter_app.h"
#include "tests/win/support/package_fixture.h"
#include "tests/win/support/win_test_support.h"

namespace ld::test {

inline void IgnoreDownloadLog(std::uint32_t, const char*) {}

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
inline const SourceFile kGameFiles[] = {
    {"game.exe", 3000, 1},          {"helper.DLL", 777, 2},
    {"readme.txt", 50, 3},          {"empty.bin", 0, 4},
    {"data/a.dat", 100000, 5},      {"data/img/b.bmp", 4000, 6},
    {"data/img/deep/c.txt", 10, 8},
};

class PackageInstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LD_REQUIRE_PORTAL();
    if (NativeLdtool().empty()) GTEST_SKIP() << "no native ldtool";
    previous_log_ = SetDownloadLogHook(&IgnoreDownloadLog);
    cStarterApp::Get().ClearStop();
    context_.app = &cStarterApp::Get();
    context_.install_folder = install_.path();
    context_.distribution_address = "http://" + PortalAddress() + "/dist";
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
      package->AddFile(file.relative, PatternBytes(file.size, ++seed), file.minute);
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
      const FileFacts facts = FactsOf(path);
      ASSERT_TRUE(facts.exists) << path;
      EXPECT_EQ(record.size, facts.size) << path;
      EXPECT_TRUE(SameLocalMinute(TimeFromFileTime(facts.last_write), record.time)) << path;
      const std::string bytes = ReadWholeFile(path);
      EXPECT_EQ(record.checksum, ByteSum(bytes.data(), bytes.size())) << path;
      EXPECT_FALSE(FactsOf(path + ".zip").exists) << "zip left behind: " << path;
    }
  }

  std::vector<std::string> ZipRequests(const PublishedPackage& package) {
    return ServedPaths("/dist/" + package.name() + "/");
  }

  ScratchFolder install_;
  InstallContext context_;
  ExecutableList executables_;
  std::vector<uint32_t> driver_ui_;
  std::vector<RemoteRecord> remote_;
  std::vector<int> exit_codes_;
  DownloadLogHook previous_log_ = nullptr;
};

}  // namespace ld::test
