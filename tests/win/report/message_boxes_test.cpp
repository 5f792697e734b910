#include "starter/report/message_boxes.h"

#include <gtest/gtest.h>

#include <string>

#include "starter/app/starter_app.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

class BoxesTest : public ::testing::Test {
 protected:
  void SetUp() override { Flag() = false; }
  void TearDown() override { Flag() = false; }
  static bool& Flag() { return cStarterApp::Get().flags().error_box_shown; }
  const test::ShownBox& Last() const { return recorder_.boxes.back(); }

  test::RecordingPresenter recorder_{IDYES};
  ScopedBoxPresenter scope_{&recorder_};
};

TEST_F(BoxesTest, ErrorBoxesShowTheEntryErrorAndCodedCaptions) {
  LD_REQUIRE_TABLE("en");
  // The error that was current on entry, not one made while building the box.
  ::SetLastError(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ErrorBox(0x00050001), IDYES);
  EXPECT_EQ(Last().caption, "Ludoria Starter) 00050001");
  EXPECT_EQ(Last().text, WindowsErrorText(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(Flag());
  ErrorBoxWithText(151, "text", "gamekind.ini", MB_YESNO);
  EXPECT_EQ(Last().caption, "Ludoria Starter) 00000097 : gamekind.ini");
  EXPECT_EQ(Last().style, static_cast<UINT>(MB_YESNO | kErrorBoxStyle));
  ErrorBoxWithText(0x0018000D, "text", "");
  EXPECT_EQ(Last().caption, "Ludoria Starter) 0018000D");  // an empty detail adds nothing
  EXPECT_EQ(WindowsErrorText(0x2FFFFFF0u), "<Unknown Error>[Code:805306352]");
  // Numbers with the top bit set are shown signed, as they always were.
  EXPECT_EQ(WindowsErrorText(0xFFFFFFF0u), "<Unknown Error>[Code:-16]");
}

TEST_F(BoxesTest, OtherBoxesLeaveTheFlagAndMissingStringsFallBack) {
  LD_REQUIRE_TABLE("en");
  ShowMessageBox(nullptr, "detail", "hello", MB_ICONINFORMATION);
  EXPECT_EQ(Last().caption, "Ludoria Starter : detail");
  EXPECT_EQ(Last().style, static_cast<UINT>(MB_ICONINFORMATION | kBoxBaseStyle));
  EXPECT_FALSE(Flag());

  // A missing string: the plain error box, without the detail.
  ::SetLastError(ERROR_ACCESS_DENIED);
  ErrorBoxById(0x00030004, 4000, "name_x");
  EXPECT_EQ(Last().caption, "Ludoria Starter) 00030004");
  EXPECT_EQ(Last().text, WindowsErrorText(ERROR_ACCESS_DENIED));
}

// Run under a Korean locale by the win_tests_korean entry.
TEST(KoreanTableBoxes, LongKoreanCaptionsAreNotCutInsideACharacter) {
  LD_REQUIRE_TABLE("ko");
  ASSERT_EQ(::GetACP(), 949u);
  test::RecordingPresenter recorder;
  ScopedBoxPresenter scope(&recorder);
  // The Korean caption's byte count before " : " puts one of the two limits
  // inside a two-byte letter. Literals are compiled to code page 949.
  std::string detail;
  for (int i = 0; i < 200; ++i) detail += "가";
  ErrorBox(0x00050001, detail.c_str());
  ErrorBoxWithText(0x00050001, "t", detail.c_str());
  for (std::size_t i = 0; i < 2; ++i) {  // the error box's limit is 254, the others' 259
    const std::string& caption = recorder.boxes[i].caption;
    EXPECT_EQ(caption.rfind("루도리아 설치마법사) 00050001 : 가", 0), 0u);
    EXPECT_GE(caption.size(), i == 0 ? 253u : 258u);
    EXPECT_LE(caption.size(), i == 0 ? 254u : 259u);
    EXPECT_EQ((caption.size() - caption.find(" : ") - 3) % 2, 0u) << caption.size();
  }
  EXPECT_EQ(SupportBox(nullptr, "x"), IDOK);
  EXPECT_EQ(recorder.boxes[2].caption, "루드스타터 고객지원");
  cStarterApp::Get().flags().error_box_shown = false;
}

}  // namespace
}  // namespace ld
