#include <gtest/gtest.h>

#include "core/ui/countdown.h"
#include "core/ui/font_metrics.h"
#include "core/ui/image_button_state.h"
#include "core/ui/version_text.h"

namespace ld {
namespace {

TEST(ImageButtonState, PictureForEveryState) {
  struct Case {
    bool disabled, hovering, pressed;
    ButtonImage want;
  } cases[] = {
      {false, false, false, ButtonImage::kNormal},
      {false, false, true, ButtonImage::kNormal},  // pressed, then the mouse left
      {false, true, false, ButtonImage::kHover},
      {false, true, true, ButtonImage::kPressed},
      {true, true, false, ButtonImage::kDisabled},  // hovered but disabled
      {true, false, true, ButtonImage::kDisabled},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ImageForState(c.disabled, c.hovering, c.pressed), c.want)
        << c.disabled << c.hovering << c.pressed;
  }
}

TEST(Countdown, StartsOnlyWhenArmedWithPeriodByPanel) {
  Countdown idle;
  EXPECT_FALSE(idle.Start(100, true));  // never armed
  EXPECT_EQ(idle.Query(100, true).ms, 7000);

  Countdown with_panel, without_panel;
  with_panel.Arm();
  without_panel.Arm();
  EXPECT_EQ(with_panel.Start(0, true), 5000u);
  EXPECT_EQ(without_panel.Start(0, false), 7000u);
  EXPECT_FALSE(without_panel.Start(10, false));  // already running
}

TEST(Countdown, RemainingWithoutPanelRunsOutAfterFullPeriod) {
  Countdown c;
  c.Arm();
  c.Start(1000, false);
  EXPECT_EQ(c.Query(3000, false).ms, 5000);
  EXPECT_EQ(c.Query(8000, false).ms, 0);
  EXPECT_EQ(c.Query(9000, false).ms, -1000);
  c.Finish();
  EXPECT_EQ(c.Query(9000, false).ms, 0);

  Countdown wrapped;
  wrapped.Arm();
  wrapped.Start(0xFFFFF000u, false);
  EXPECT_EQ(wrapped.Query(0x00000100u, false).ms, 7000 - 0x1100);
}

TEST(Countdown, PanelReadyLateShortensToFiveSecondsFromThen) {
  Countdown c;
  c.Arm();
  c.Start(0, false);
  Countdown::Remaining r = c.Query(1000, true);  // 6000 left > 5000: restart
  EXPECT_EQ(r.ms, 5000);
  EXPECT_EQ(r.restart_ms, 5000u);
  EXPECT_TRUE(c.shortened());
  r = c.Query(3000, true);  // counted from the restart, no second restart
  EXPECT_EQ(r.ms, 3000);
  EXPECT_FALSE(r.restart_ms);
  EXPECT_EQ(c.Query(6000, true).ms, 0);

  Countdown late;  // ready after two seconds: nothing changes
  late.Arm();
  late.Start(0, false);
  r = late.Query(2500, true);
  EXPECT_EQ(r.ms, 4500);
  EXPECT_FALSE(r.restart_ms);
}

TEST(Countdown, SecondsShownRoundUpFromFiveDown) {
  EXPECT_FALSE(CountdownSeconds(5001));
  EXPECT_EQ(CountdownSeconds(5000), 5u);
  EXPECT_EQ(CountdownSeconds(4001), 5u);
  EXPECT_EQ(CountdownSeconds(1), 1u);
  EXPECT_EQ(CountdownSeconds(0), 0u);
  EXPECT_EQ(CountdownSeconds(-300), 0u);
}

TEST(FontMetrics, WeightFromStyleFlagsLaterTestsWin) {
  EXPECT_EQ(FontWeightFromStyle(0), 400);
  EXPECT_EQ(FontWeightFromStyle(kFontItalic | kFontUnderline), 400);
  EXPECT_EQ(FontWeightFromStyle(kFontBold), 700);
  EXPECT_EQ(FontWeightFromStyle(kFontBold | kFontThin), 100);
  EXPECT_EQ(FontWeightFromStyle(kFontBold | kFontThin | kFontHeavy), 900);
  EXPECT_EQ(FontPixelHeight(96, 9), 12);
  EXPECT_EQ(FontPixelHeight(96, 7), 9);  // 9.33 cut down
}

TEST(FontMetrics, SizeAdjustmentByStyle) {
  const FrameMetrics m{1, 2, 20, 3, 4};
  struct Case {
    std::uint32_t style, ex_style;
    int want_w, want_h;
  } cases[] = {
      {kStylePopup, 0, 100, 50},
      {0, 0, 102, 74},
      {kStylePopup, kExStyleClientEdge, 106, 58},
      {kStylePopup, kExStyleClientEdge | kExStyleWindowEdge, 112, 66},
      {0, kExStyleWindowEdge, 108, 82},
  };
  for (const Case& c : cases) {
    int w = 100, h = 50;
    AdjustWindowSize(c.style, c.ex_style, m, &w, &h);
    EXPECT_EQ(w, c.want_w) << std::hex << c.style << " " << c.ex_style;
    EXPECT_EQ(h, c.want_h) << std::hex << c.style << " " << c.ex_style;
  }
}

TEST(VersionText, FourNumbersFromTheHalves) {
  EXPECT_EQ(ProgramVersionText(0x00130000u, 0x0007000Eu), "v19.0.7.14");
  EXPECT_EQ(ProgramVersionText(0xFFFF0001u, 0), "v65535.1.0.0");
}

}  // namespace
}  // namespace ld
