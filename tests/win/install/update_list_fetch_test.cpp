// Fetching a package's update list from the loopback portal: the list and
// its records, the replaced old list, and the texts and codes of every
// failure (not found, an old list that cannot be deleted, an unreadable
// local list).
#include "starter/install/update_list_fetch.h"

#include <gtest/gtest.h>

#include <string>

#include "core/install/download_rules.h"
#include "core/base/error_codes.h"
#include "starter/report/message_boxes.h"
#include "starter/platform/string_table.h"
#include "tests/win/support/list_fetch_fixture.h"

namespace ld {
namespace {

using test::ReadWholeFile;

constexpr char kList[] =
    "[HEADER]\n"
    "prjname TABLA\n"
    "downloadurl \"http://dl.example/tabla\"\n"
    "version 1.5.0\n"
    "[INSTALL]\n"
    "/\n"
    "tabla.exe, 123, 3000, 1500, 20070315-123456\n"
    "/data\n"
    "a.dat, 5, 10, 8, 070315-123456\n"
    "b.dat, 6, 11, 9, 070315-123456\n";

class UpdateListFetchTest : public test::ListFetchTest {
 protected:
  PackageDescriptor Package(const std::string& name, bool is_game) {
    PackageDescriptor package;
    package.name = name;
    package.is_game = is_game;
    return package;
  }

  std::string LocalList(const std::string& name) {
    return settings_.list_folder + "\\" + name + ".hul";
  }
};

TEST_F(UpdateListFetchTest, NotFoundShowsTheDownloadTextWithTheCodeAndThePackageName) {
  for (bool kind_mode : {false, true}) {
    SCOPED_TRACE(kind_mode ? "kind mode" : "plain");
    boxes_.boxes.clear();
    test::ScratchFolder::WriteFile(LocalList("TABLA"), "stale\n");
    settings_.kind_mode = kind_mode;
    PackageDescriptor package = Package("TABLA", true);
    test::LogRecorder log;

    EXPECT_FALSE(FetchUpdateList(settings_, &package));
    const std::string address = tree_.Url("newhul/TABLA.hul");
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    const std::string base = LoadText(IDS_FAIL_HUL_DOWNLOAD);
    ASSERT_FALSE(base.empty());
    EXPECT_EQ(boxes_.boxes[0].text, kind_mode ? base + "\n( " + address + " )" : base);
    EXPECT_EQ(boxes_.boxes[0].caption,
              ErrorCaption(error_code::kUpdateListUnreadable, "TABLA", kTextBoxCaptionLimit));
    EXPECT_EQ(log.TextsOf(error_code::kUpdateListUnreadable), (std::vector<std::string>{"TABLA"}));
    EXPECT_EQ(
        log.TextsOf(error_code::kDownloadFile),
        (std::vector<std::string>{"[ERR]DownloadFile():: HttpQueryInfo() failed [FnRet:404]"}));
    // The old list went before the download, and nothing took its place.
    EXPECT_FALSE(test::PathExists(LocalList("TABLA")));
    EXPECT_TRUE(package.records.empty());
  }
}

TEST_F(UpdateListFetchTest, AnOldListThatCannotBeDeletedSendsTheDownloadToATemporaryFile) {
  const std::string old_list = LocalList("TBBASE");
  test::ScratchFolder::WriteFile(old_list, "held open\n");
  HANDLE held =
      ::CreateFileA(old_list.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  // The download itself works: it lands in the temporary file and is read.
  tree_.Put("newhul/TBBASE.hul", kList);
  PackageDescriptor fetched = Package("TBBASE", false);
  EXPECT_TRUE(FetchUpdateList(settings_, &fetched));
  EXPECT_EQ(fetched.records.size(), 3u);

  // When it fails, the text says the local file is the trouble and, in kind
  // mode, names the temporary file.
  settings_.kind_mode = true;
  PackageDescriptor failed = Package("TBBASE2", false);
  const std::string old_second = LocalList("TBBASE2");
  test::ScratchFolder::WriteFile(old_second, "held open\n");
  HANDLE held_second =
      ::CreateFileA(old_second.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held_second, INVALID_HANDLE_VALUE);
  boxes_.boxes.clear();
  EXPECT_FALSE(FetchUpdateList(settings_, &failed));
  ::CloseHandle(held);
  ::CloseHandle(held_second);

  ASSERT_FALSE(boxes_.boxes.empty());
  const test::ShownBox& box = boxes_.boxes.back();  // after the deletion question of kind mode
  const std::string base = LoadText(IDS_FAIL_HUL_CREATE);
  const std::string prefix = base + "\n( " + settings_.list_folder + "\\TBB";
  EXPECT_EQ(box.text.rfind(prefix, 0), 0u) << box.text;
  EXPECT_EQ(box.text.substr(box.text.size() - 6), ".tmp )") << box.text;
  EXPECT_EQ(box.caption,
            ErrorCaption(error_code::kUpdateListUnreadable, "TBBASE2", kTextBoxCaptionLimit));
  EXPECT_EQ(ReadWholeFile(old_second), "held open\n");
}

TEST_F(UpdateListFetchTest, AListThatCannotBeReadGivesTheGameOrBaseCode) {
  struct Case {
    bool is_game;
    std::uint32_t code;
    const char* body;
  } cases[] = {
      {true, error_code::kGameUpdateListDamaged, "IDS_AHF_FAIL_GAMEREADING"},
      {false, error_code::kBaseUpdateListDamaged, "IDS_AHF_FAIL_BASEREADING"},
  };
  for (const Case& c : cases) {
    boxes_.boxes.clear();
    test::LogRecorder log;
    PackageDescriptor package = Package("X", c.is_game);
    EXPECT_FALSE(LoadFetchedList(settings_, scratch_.Sub("gone.hul"), &package));
    EXPECT_EQ(log.TextsOf(c.code), (std::vector<std::string>{c.body}));
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].caption, ErrorCaption(c.code, nullptr, kErrorBoxCaptionLimit));
    EXPECT_NE(boxes_.boxes[0].style & MB_ICONEXCLAMATION, 0u);
  }
  EXPECT_EQ(error_code::kGameUpdateListDamaged, 181u);
  EXPECT_EQ(error_code::kBaseUpdateListDamaged, 182u);
}

TEST(UpdateListFolderTest, IsCreatedHiddenBelowTheStarterDataFolder) {
  test::ScratchFolder scratch;
  const std::string base = scratch.Sub("deep\\Ludoria");
  const std::string folder = UpdateListFolderUnder(base);
  EXPECT_EQ(folder, base + "\\HUL");
  const DWORD attributes = ::GetFileAttributesA(folder.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
}

}  // namespace
}  // namespace ld
