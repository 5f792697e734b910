// The remote-log texts of every failure of a single-file download (its
// successes, meters and stops are what the batch test and the end-to-end
// runs go through).
#include "starter/download/downloader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "core/base/error_codes.h"
#include "starter/net/internet_open.h"
#include "tests/win/support/download_test_support.h"

namespace ld {
namespace {

using test::ScratchFolder;
using ::testing::ElementsAre;

class DownloaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LD_REQUIRE_PORTAL();
    internet_ = OpenDownloadHandle();
    ASSERT_TRUE(internet_);
    SetReceiveTimeout(internet_.Get(), 5000);
  }
  bool Download(const std::string& local, const std::string& url, DWORD buffer = 0) {
    return DownloadFile(internet_.Get(), buffer, local, url, nullptr, nullptr, false);
  }
  const std::string code_ = std::to_string(error_code::kDownloadFile) + ":";

  test::LogRecorder log_;
  ScratchFolder scratch_;
  test::PortalTree tree_;
  InternetHandle internet_;
};

TEST_F(DownloaderTest, FailuresAreLoggedAndLeaveTheLocalFileAsItWas) {
  tree_.Put("a.bin", "abc");
  ScratchFolder::WriteFile(scratch_.Sub("kept.bin"), "previous");
  const std::string no_folder = scratch_.Sub("no such folder\\a.bin");
  const std::string long_url = "http://127.0.0.1:1/" + std::string(300, 'p') + ".bin";
  const std::string unreachable = "[ERR]DownloadFile()::InternetOpenUrl() failed, url : ";
  const struct {
    std::string local, url, logged;
  } cases[] = {
      {scratch_.Sub("kept.bin"), tree_.Url("missing.bin"),
       "[ERR]DownloadFile():: HttpQueryInfo() failed [FnRet:404]"},
      {scratch_.Sub("x.bin"), "http://127.0.0.1:1/a b.bin",
       unreachable + "http://127.0.0.1:1/a%20b.bin"},
      {scratch_.Sub("x.bin"), long_url, (unreachable + long_url).substr(0, 199)},
      {no_folder, tree_.Url("a.bin"),
       "[ERR]DownloadFile():: Fail CreateFile( " + no_folder + " )(3)"},
  };
  for (const auto& c : cases) {
    test::LogRecorder log;
    EXPECT_FALSE(Download(c.local, c.url)) << c.url;
    EXPECT_THAT(test::LogRecorder::Texts(), ElementsAre(code_ + c.logged));
  }
  EXPECT_EQ(test::ReadWholeFile(scratch_.Sub("kept.bin")), "previous");
  EXPECT_FALSE(test::PathExists(scratch_.Sub("x.bin")));
}

}  // namespace
}  // namespace ld
