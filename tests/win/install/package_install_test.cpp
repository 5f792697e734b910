// Package installation against the loopback portal through the real
// downloader, download batch, unpacking and verification: the failure
// branches the end-to-end runs do not reach (a file held open, a file
// missing on the server) and setup archives.
#include "starter/install/package_install.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/checksum.h"
#include "core/base/error_codes.h"
#include "starter/app/starter_app.h"
#include "starter/download/progress_sink.h"
#include "starter/install/package_check.h"
#include "starter/platform/string_table.h"
#include "tests/win/support/download_test_support.h"
#include "tests/win/support/package_fixture.h"

namespace ld {
namespace {

using test::FactsOf;
using test::ReadWholeFile;
using test::RecordingPresenter;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class PackageInstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LD_REQUIRE_PORTAL();
    cStarterApp::Get().ClearStop();
    context_ = {
        &cStarterApp::Get(),
        install_.path(),
        "",
        &executables_,
        [this](uint32_t wparam) { driver_ui_.push_back(wparam); },
        [this](uint32_t code, const std::string& text, const char* resource) {
          remote_.push_back(std::to_string(code) + "|" + text + "|" + (resource ? resource : ""));
        },
        [this](int code) { exit_codes_.push_back(code); }};
    package_.name = "PKG";
    package_.download_address = tree_.Root();
    package_.update_list.project_name = "PRJ";  // what boxes and reports name
    // The older layout: every zip in the package's folder.
    const std::pair<const char*, const char*> files[] = {
        {"\\", "game.exe"}, {"\\", "readme.txt"}, {"\\data", "a.dat"}, {"\\data\\img", "b.bmp"}};
    for (const auto& [dir, name] : files) {
      const std::string content = test::PatternBytes(name[0] == 'a' ? 100000 : 3000, name[0]);
      ASSERT_TRUE(test::WriteZip(Served(name), {{name, content}}));
      FileRecord record;
      record.dir_path = dir;
      record.name = name;
      record.size = static_cast<uint32_t>(content.size());
      record.zip_size = static_cast<uint32_t>(FactsOf(Served(name)).size);
      record.checksum = ByteSum(content.data(), content.size());
      record.time = TimeFromFields(2009, 6, 15, 13, 45, 58);  // the zip entries' time
      package_.records.push_back(record);
    }
  }
  std::string Served(const std::string& name) const { return tree_.Path("PKG/" + name + ".zip"); }
  bool Install(RecordingPresenter* boxes) {
    ScopedBoxPresenter scoped(boxes);
    package_.bytes_to_download =
        CheckPackageFiles(install_.path(), &package_.records, &executables_);
    return InstallPackage(context_, package_);
  }

  test::LogRecorder log_;
  test::PortalTree tree_;
  test::ScratchFolder install_;
  PackageDescriptor package_;
  InstallContext context_;
  ExecutableList executables_;
  std::vector<uint32_t> driver_ui_;
  std::vector<std::string> remote_;
  std::vector<int> exit_codes_;
};

TEST_F(PackageInstallTest, FileHeldOpenAsksAndOnlyNoContinues) {
  RecordingPresenter quiet;
  ASSERT_TRUE(Install(&quiet));
  EXPECT_TRUE(quiet.boxes.empty());
  EXPECT_EQ(std::vector<uint32_t>{kDriverUiFileProgress}, driver_ui_);
  const std::string held_path = install_.path() + "\\readme.txt";
  test::ScratchFolder::WriteFile(held_path, "local edit");

  for (int answer : {IDNO, IDYES}) {
    exit_codes_.clear();
    RecordingPresenter boxes(answer);
    // Held without sharing, as a running game or a virus scanner would.
    HANDLE held =
        ::CreateFileA(held_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(Install(&boxes));
    ::CloseHandle(held);
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_THAT(boxes.boxes[0].text, HasSubstr("(count=1)"));
    EXPECT_THAT(boxes.boxes[0].caption, HasSubstr("0018000A : PRJ"));
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), boxes.boxes[0].style & MB_TYPEMASK);
    // No continues; any other answer ends the program with -1. The old file
    // stays and the downloaded zip waits beside it.
    EXPECT_EQ(answer == IDNO ? std::vector<int>{} : std::vector<int>{-1}, exit_codes_);
    EXPECT_EQ("local edit", ReadWholeFile(held_path));
    EXPECT_NE(-1, FactsOf(held_path + ".zip").size);
  }
}

TEST_F(PackageInstallTest, FileMissingOnTheServerGivesString179) {
  ASSERT_TRUE(::DeleteFileA(Served("b.bmp").c_str()));
  RecordingPresenter boxes;
  EXPECT_FALSE(Install(&boxes));
  ASSERT_EQ(1u, boxes.boxes.size());
  EXPECT_EQ(LoadText(IDS_FAIL_GAMEFILEDOWNLOAD), boxes.boxes[0].text);
  EXPECT_THAT(boxes.boxes[0].caption, HasSubstr("0018000A"));
  EXPECT_THAT(remote_, ElementsAre(std::to_string(error_code::kDiskSpaceOrFiles) +
                                   "|PRJ|IDS_FAIL_GAMEFILEDOWNLOAD"));
  EXPECT_TRUE(exit_codes_.empty());
}

// A setup archive is fetched whole into its folder, which becomes the
// current folder, and unpacked there.
TEST_F(PackageInstallTest, SetupArchivesUnpackIntoTheirFolder) {
  const std::string zip = tree_.Path("PKG/pack.zip");
  ASSERT_TRUE(test::WriteZip(zip, {{"one.txt", "1"}, {"sub/in/two.txt", "22"}}));
  std::vector<PackageDescriptor> packages(2, package_);  // the first has no archive
  packages[1].setup_records = {package_.records[0]};
  FileRecord& archive = packages[1].setup_records[0];
  archive.dir_path = "\\redist";
  archive.name = "pack.zip";
  archive.zip_size = static_cast<uint32_t>(FactsOf(zip).size);
  char previous[MAX_PATH] = {}, current[MAX_PATH] = {};
  ::GetCurrentDirectoryA(sizeof previous, previous);
  // Bit (index + 1) of the package whose archives were installed.
  EXPECT_EQ(1 | (1 << 2), InstallSetupPackages(context_, &packages));
  ::GetCurrentDirectoryA(sizeof current, current);
  ::SetCurrentDirectoryA(previous);
  const std::string folder = install_.path() + "\\redist";
  EXPECT_EQ(folder, std::string(current));
  EXPECT_EQ("22", ReadWholeFile(folder + "\\sub\\in\\two.txt"));
  EXPECT_EQ(-1, FactsOf(folder + "\\pack.zip").size);
  EXPECT_EQ((std::vector<uint32_t>{kDriverUiSetupMessage, kDriverUiNoMessage}), driver_ui_);

  // The user stops during the transfer: a stop, not a failed download.
  struct StopOnFirstBytes : ProgressSink {
    void SetBarRange(const char*, uint32_t) override {}
    void SetBarPosition(const char*, uint32_t position) override {
      if (position > 0) cStarterApp::Get().RequestStop();
    }
    void SetText(const char*, const std::string&) override {}
  } stopper;
  ScopedProgressSink sink(&stopper);
  EXPECT_EQ(0, InstallSetupPackages(context_, &packages));
  ::SetCurrentDirectoryA(previous);
  cStarterApp::Get().ClearStop();
}

}  // namespace
}  // namespace ld
