// What the verification after a download batch finds and what the user is
// asked then: files that could not be replaced (held by another process,
// damaged zips, missing entries) and files the server does not have.
#include "starter/install/package_verify.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/checksum.h"
#include "core/base/error_codes.h"
#include "core/base/time_value.h"
#include "core/install/verify_report.h"
#include "starter/install/package_check.h"
#include "starter/install/package_install.h"
#include "starter/app/starter_app.h"
#include "starter/platform/string_table.h"
#include "tests/win/support/package_install_fixture.h"

namespace ld {
namespace {

using test::FactsOf;
using test::PackageInstallTest;
using test::PublishedPackage;
using test::ReadWholeFile;
using test::RecordingPresenter;
using test::ScratchFolder;

// Starts hold_file.exe (built beside this program) on `path`; stops it on
// destruction.
class FileHolder {
 public:
  explicit FileHolder(const std::string& path) {
    const std::string tag = test::UniqueTag("hj_hold");
    ready_ = ::CreateEventA(nullptr, TRUE, FALSE, (tag + "_ready").c_str());
    release_ = ::CreateEventA(nullptr, TRUE, FALSE, (tag + "_release").c_str());
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    std::string helper = self;
    helper.erase(helper.find_last_of('\\') + 1);
    helper += "hold_file.exe";
    std::string line = "\"" + helper + "\" \"" + path + "\" " + tag + "_ready " + tag + "_release";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (::CreateProcessA(helper.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &process)) {
      ::CloseHandle(process.hThread);
      process_ = process.hProcess;
      held_ = ::WaitForSingleObject(ready_, 30000) == WAIT_OBJECT_0;
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
    EXPECT_EQ("local edit", ReadWholeFile(held_path));
    EXPECT_TRUE(FactsOf(held_path + ".zip").exists);
  }
}

TEST_F(PackageInstallTest, CorruptZipAndMissingEntryAreFoundByVerification) {
  PublishedPackage package(test::UniqueTag("HJV"));
  ASSERT_NO_FATAL_FAILURE(PublishGame(&package, "1.5.0"));
  ASSERT_TRUE(test::WriteAll(package.ServedPath("data/a.dat.zip"), test::PatternBytes(5000, 9)));
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

// Files that were downloaded and replaced but do not match their records: a
// size (reported with found and listed values), a minute (reported with both
// times), and a program's byte sum (asked about in a support box, without a
// time row).
TEST_F(PackageInstallTest, ReplacedFilesUnlikeTheirRecordsAreReported) {
  PublishedPackage package(test::UniqueTag("HJW"));
  ASSERT_NO_FATAL_FAILURE(PublishGame(&package, "1.5.0"));
  const std::string other_program = test::PatternBytes(3000, 77);
  test::ZipEntrySpec program{"game.exe", other_program};
  program.year = 2021, program.month = 4, program.day = 5, program.hour = 6, program.minute = 1;
  program.second = 20;
  ASSERT_TRUE(test::WriteZip(package.ServedPath("game.exe.zip"), {program}));
  ASSERT_TRUE(test::WriteZip(package.ServedPath("data/a.dat.zip"), {{"a.dat", "ten bytes!"}}));
  ASSERT_TRUE(test::WriteZip(package.ServedPath("readme.txt.zip"),
                             {{"readme.txt", test::PatternBytes(50, 4)}}));
  PackageDescriptor descriptor = Descriptor(package);
  descriptor.bytes_to_download =
      CheckPackageFiles(install_.path(), &descriptor.records, &executables_);
  RecordingPresenter boxes;
  ScopedBoxPresenter scoped(&boxes);

  EXPECT_TRUE(InstallPackage(context_, descriptor));
  EXPECT_TRUE(exit_codes_.empty());

  const FileRecord* exe = nullptr;
  const FileRecord* readme = nullptr;
  for (const FileRecord& record : descriptor.records) {
    if (record.name == "game.exe") exe = &record;
    if (record.name == "readme.txt") readme = &record;
  }
  ASSERT_TRUE(exe != nullptr && readme != nullptr);
  ASSERT_EQ(1u, boxes.boxes.size());
  EXPECT_NE(std::string::npos, boxes.boxes[0].caption.find(kChecksumMismatchDetail));
  EXPECT_EQ(ChecksumWarningText(install_.path() + "\\game.exe", exe->checksum,
                                ByteSum(other_program.data(), other_program.size())),
            boxes.boxes[0].text);

  ASSERT_EQ(2u, remote_.size());
  EXPECT_EQ(error_code::kDiskSpaceOrFiles, remote_[0].code);
  EXPECT_NE(std::string::npos, remote_[0].text.find("a.dat.zip | 10 | 100000 |"))
      << remote_[0].text;
  EXPECT_EQ(std::string::npos, remote_[0].text.find("readme")) << remote_[0].text;
  EXPECT_EQ(error_code::kDiskSpaceOrFiles, remote_[1].code);
  const std::string time_row = " | " + VerifyTimeText(TimeFromFields(2009, 6, 15, 13, 45, 58)) +
                               " | " + VerifyTimeText(readme->time) + " |";
  EXPECT_NE(std::string::npos, remote_[1].text.find("readme.txt.zip" + time_row))
      << remote_[1].text;
  EXPECT_EQ(std::string::npos, remote_[1].text.find("game.exe")) << remote_[1].text;
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

}  // namespace
}  // namespace ld
