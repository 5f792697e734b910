#include "starter/report/message_boxes.h"

#include <gtest/gtest.h>

#include <string>

#include "starter/app/starter_app.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::RecordingPresenter;

class BoxesTest : public ::testing::Test {
 protected:
  void SetUp() override { Flag() = false; }
  void TearDown() override { Flag() = false; }
  static bool& Flag() { return cStarterApp::Get().flags().error_box_shown; }

  RecordingPresenter recorder_{IDYES};
  ScopedBoxPresenter scope_{&recorder_};
};

TEST_F(BoxesTest, ErrorBoxCaptionAndStyleUnderEnglishTable) {
  LD_REQUIRE_TABLE("en");
  ::SetLastError(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ErrorBox(0x00050001), IDYES);
  ASSERT_EQ(recorder_.boxes.size(), 1u);
  const test::ShownBox& box = recorder_.boxes[0];
  EXPECT_EQ(box.caption, "Ludoria Starter) 00050001");
  EXPECT_EQ(box.style,
            static_cast<UINT>(MB_ICONEXCLAMATION | MB_SYSTEMMODAL | MB_SETFOREGROUND | MB_TOPMOST));
  EXPECT_EQ(box.owner, nullptr);
  // The error that was current on entry, not one made while building the box.
  EXPECT_EQ(box.text, WindowsErrorText(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(Flag());
}

TEST_F(BoxesTest, CaptionsCarryTheDetailAndSmallCodesInEightDigits) {
  LD_REQUIRE_TABLE("en");
  struct Case {
    std::uint32_t code;
    const char* detail;
    const char* caption;
  };
  const Case cases[] = {
      {0x00180007, "game.exe", "Ludoria Starter) 00180007 : game.exe"},
      {151, "gamekind.ini", "Ludoria Starter) 00000097 : gamekind.ini"},
      {0x0018000D, "", "Ludoria Starter) 0018000D"},  // an empty detail adds nothing
      {0xA0001, nullptr, "Ludoria Starter) 000A0001"},
  };
  for (const Case& c : cases) {
    recorder_.boxes.clear();
    ErrorBoxWithText(c.code, "text", c.detail);
    ASSERT_EQ(recorder_.boxes.size(), 1u);
    EXPECT_EQ(recorder_.boxes[0].caption, c.caption);
    EXPECT_EQ(recorder_.boxes[0].text, "text");
  }
}

TEST_F(BoxesTest, CaptionLimitsDifferBetweenErrorBoxAndTextBoxes) {
  const std::string long_detail(600, 'd');
  ErrorBox(0x10001, long_detail.c_str());
  ErrorBoxWithText(0x10001, "t", long_detail.c_str());
  ShowMessageBox("caption", long_detail.c_str(), "t");
  SupportBox(long_detail.c_str(), "t");
  ASSERT_EQ(recorder_.boxes.size(), 4u);
  EXPECT_EQ(recorder_.boxes[0].caption.size(), 254u);
  EXPECT_EQ(recorder_.boxes[1].caption.size(), 259u);
  EXPECT_EQ(recorder_.boxes[2].caption.size(), 259u);
  EXPECT_EQ(recorder_.boxes[3].caption.size(), 259u);
}

TEST_F(BoxesTest, ErrorBoxWithTextAddsTheCallersFlagsAndReturnsTheAnswer) {
  EXPECT_EQ(ErrorBoxWithText(0x18000A, "Stop?", "proj", MB_YESNO), IDYES);
  ASSERT_EQ(recorder_.boxes.size(), 1u);
  EXPECT_EQ(recorder_.boxes[0].style, static_cast<UINT>(MB_YESNO | kErrorBoxStyle));
  EXPECT_TRUE(Flag());
}

TEST_F(BoxesTest, MessageAndSupportBoxesLeaveTheErrorFlag) {
  LD_REQUIRE_TABLE("en");
  ShowMessageBox(nullptr, "detail", "hello", MB_ICONINFORMATION);
  ShowMessageBox("Own caption", nullptr, "hello");
  SupportBox("Cannot Get DOWNLOADED FILE Attribute", "x", MB_ICONEXCLAMATION);
  SupportBox(nullptr, "y");
  EXPECT_FALSE(Flag());
  ASSERT_EQ(recorder_.boxes.size(), 4u);
  EXPECT_EQ(recorder_.boxes[0].caption, "Ludoria Starter : detail");
  EXPECT_EQ(recorder_.boxes[0].style, static_cast<UINT>(MB_ICONINFORMATION | kBoxBaseStyle));
  EXPECT_EQ(recorder_.boxes[1].caption, "Own caption");
  EXPECT_EQ(recorder_.boxes[1].style, kBoxBaseStyle);
  EXPECT_EQ(recorder_.boxes[2].caption,
            std::string(kSupportCaption) + " : Cannot Get DOWNLOADED FILE Attribute");
  EXPECT_EQ(recorder_.boxes[2].style, static_cast<UINT>(MB_ICONEXCLAMATION | kBoxBaseStyle));
  EXPECT_EQ(recorder_.boxes[3].caption, kSupportCaption);
}

TEST_F(BoxesTest, ErrorBoxByIdShowsTheStringOrFallsBackToTheCallersError) {
  LD_REQUIRE_TABLE("en");
  ErrorBoxById(0x00180008, IDS_NO_COMMANDLINE, "cmd");
  ASSERT_EQ(recorder_.boxes.size(), 1u);
  EXPECT_EQ(recorder_.boxes[0].text,
            "No commandline.\nPlease run the game at Ludoria Web.\n(http://www.ludoria.com)");
  EXPECT_EQ(recorder_.boxes[0].caption, "Ludoria Starter) 00180008 : cmd");
  EXPECT_TRUE(Flag());

  // A missing string: the plain error box, without the detail, with the
  // error the caller left behind.
  ::SetLastError(ERROR_ACCESS_DENIED);
  ErrorBoxById(0x00030004, 4000, "name_x");
  ASSERT_EQ(recorder_.boxes.size(), 2u);
  EXPECT_EQ(recorder_.boxes[1].caption, "Ludoria Starter) 00030004");
  EXPECT_EQ(recorder_.boxes[1].text, WindowsErrorText(ERROR_ACCESS_DENIED));
}

TEST(WindowsErrorTextTest, KnownAndUnknownNumbers) {
  LD_REQUIRE_TABLE("en");
  std::string known = WindowsErrorText(ERROR_ACCESS_DENIED);
  EXPECT_NE(known.find("[Code:5]"), std::string::npos);
  EXPECT_EQ(known.find("<Unknown Error>"), std::string::npos);
  EXPECT_GT(known.size(), std::string("[Code:5]").size());
  EXPECT_EQ(WindowsErrorText(0x2FFFFFF0u), "<Unknown Error>[Code:805306352]");
  // Numbers with the top bit set are shown signed, as they always were.
  EXPECT_EQ(WindowsErrorText(0xFFFFFFF0u), "<Unknown Error>[Code:-16]");
}

TEST(CutAnsiTextTest, CutsSingleByteTextAtTheLimit) {
  std::string text = "abcdef";
  CutAnsiText(&text, 4);
  EXPECT_EQ(text, "abcd");
  CutAnsiText(&text, 10);
  EXPECT_EQ(text, "abcd");
}

// Korean table (run under LANG=ko_KR.UTF-8 by the win_tests_korean entry).
TEST(KoreanTableBoxes, ErrorBoxCaptionIsTheKoreanProgramCaption) {
  LD_REQUIRE_TABLE("ko");
  RecordingPresenter recorder;
  ScopedBoxPresenter scope(&recorder);
  ErrorBox(0x00050001, nullptr);
  ASSERT_EQ(recorder.boxes.size(), 1u);
  // Literal compiled to code page 949, as LoadStringA answers on this system.
  EXPECT_EQ(recorder.boxes[0].caption, "루도리아 설치마법사) 00050001");
  cStarterApp::Get().flags().error_box_shown = false;
}

TEST(KoreanTableBoxes, LongKoreanCaptionsAreNotCutInsideACharacter) {
  LD_REQUIRE_TABLE("ko");
  ASSERT_EQ(::GetACP(), 949u);
  RecordingPresenter recorder;
  ScopedBoxPresenter scope(&recorder);
  // "Ludoria Starter) 00050001 : " is followed by two-byte letters; the odd
  // byte count of the prefix puts the limit inside a letter for one of the
  // two limits.
  std::string detail;
  for (int i = 0; i < 200; ++i) detail += "가";
  ErrorBox(0x00050001, detail.c_str());
  ErrorBoxWithText(0x00050001, "t", detail.c_str());
  ASSERT_EQ(recorder.boxes.size(), 2u);
  for (const test::ShownBox& box : recorder.boxes) {
    EXPECT_LE(box.caption.size(), 259u);
    EXPECT_GE(box.caption.size(), 253u);
    std::string::size_type tail = box.caption.find(" : ") + 3;
    EXPECT_EQ((box.caption.size() - tail) % 2, 0u) << box.caption.size();
  }
  EXPECT_EQ(SupportBox(nullptr, "x"), IDOK);
  EXPECT_EQ(recorder.boxes[2].caption, "루드스타터 고객지원");
  cStarterApp::Get().flags().error_box_shown = false;
}

}  // namespace
}  // namespace ld
