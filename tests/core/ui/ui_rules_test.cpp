#include <gtest/gtest.h>

#include <string>

#include "core/ui/countdown.h"
#include "core/ui/font_metrics.h"
#include "core/ui/image_button_state.h"
#include "core/ui/install_path_check.h"
#include "core/ui/version_text.h"

namespace ld {
namespace {

TEST(UiRules, ButtonPictureFontsWindowSizeVersionAndCountdown) {
  // Bits: 4 disabled, 2 hovering, 1 pressed. Pressed without the mouse over
  // the button is normal; disabled wins over everything.
  std::string pictures;
  for (int bits : {0, 1, 2, 3, 6, 5})
    pictures += std::to_string(static_cast<int>(ImageForState(bits & 4, bits & 2, bits & 1)));
  EXPECT_EQ(pictures, "002311");

  // Later style flags win.
  EXPECT_EQ(FontWeightFromStyle(kFontItalic | kFontUnderline), 400);
  EXPECT_EQ(FontWeightFromStyle(kFontBold), 700);
  EXPECT_EQ(FontWeightFromStyle(kFontBold | kFontThin), 100);
  EXPECT_EQ(FontWeightFromStyle(kFontBold | kFontThin | kFontHeavy), 900);
  EXPECT_EQ(FontPixelHeight(96, 9) * 100 + FontPixelHeight(96, 7), 1209);  // 9.33 cut down

  // Not a pop-up, with both edges: border, caption and two edges each way.
  int w = 100, h = 50;
  AdjustWindowSize(0, kExStyleClientEdge | kExStyleWindowEdge, {1, 2, 20, 3, 4}, &w, &h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(114, 90));
  EXPECT_EQ(ProgramVersionText(0xFFFF0001u, 0x0007000Eu), "v65535.1.7.14");

  Countdown c;
  c.Arm();
  // Started just before the tick counter wraps. The panel ready with more
  // than five seconds left: five from then, once.
  EXPECT_EQ(c.Start(0xFFFFFC18u, false), 7000u);
  const std::pair<std::uint32_t, bool> steps[] = {
      {500, false}, {1000, true}, {0xFFFFFE0Cu, true}, {2500, true}};
  std::string left;
  for (const auto& [now, panel] : steps) {
    const Countdown::Remaining r = c.Query(now, panel);
    left += std::to_string(r.ms) + "/" + std::to_string(r.restart_ms.value_or(0)) + " ";
  }
  EXPECT_EQ(left, "5500/0 5000/0 5000/5000 2000/0 ");
  std::string shown;
  for (int ms : {5001, 5000, 4001, 1, 0, -300})
    shown += std::to_string(CountdownSeconds(ms).value_or(9));
  EXPECT_EQ(shown, "955100");
}

// Drive C: holds the folder "C:\Games" and the files "C:\file" and
// "C:\a\b\c". Logs what is made (+) and removed (-).
struct FakeDisk : PathFacts {
  bool DriveExists(const std::string& drive) override { return drive == "C:"; }
  Kind KindOf(const std::string& path) override {
    if (path == "C:\\file" || path == "C:\\a\\b\\c") return Kind::kFile;
    return path == "C:\\Games" ? Kind::kFolder : Kind::kMissing;
  }
  bool MakeFolder(const std::string& path) override {
    log += "+" + path + " ";
    return true;
  }
  void RemoveFolder(const std::string& path) override { log += "-" + path + " "; }
  std::string log;
};

TEST(UiRules, InstallPathShapesFoldersMadeAndUndone) {
  FakeDisk disk;
  std::string accepted;
  for (const char* path : {"C:", "C:\\", "C:\\Games", "D:", "C:Games", "C", "\\\\server\\share",
                           "Games\\x", "C:\\file", "C:\\file\\sub"})
    accepted += CheckInstallPath(path, disk) ? "1" : "0";
  EXPECT_EQ(accepted, "1110000000");
  EXPECT_TRUE(CheckInstallPath("C:\\Games\\Ludoria\\New", disk));
  EXPECT_FALSE(CheckInstallPath("C:\\a\\b\\c\\d", disk));
  // Parents first; after a failure what was made goes, last first.
  EXPECT_EQ(disk.log,
            "+C:\\Games\\Ludoria +C:\\Games\\Ludoria\\New +C:\\a +C:\\a\\b -C:\\a\\b -C:\\a ");

  EXPECT_EQ(TrimTrailingBackslashes("C:\\x\\\\") + TrimTrailingBackslashes("\\\\"), "C:\\x\\");
  EXPECT_TRUE(IsUnderSystemFolder("c:\\windows\\games", "C:\\Windows", "") &&
              IsUnderSystemFolder("C:\\PROGRAM FILES\\x", "C:\\Windows", "C:\\Program Files"));
  EXPECT_FALSE(IsUnderSystemFolder("C:\\Games", "", ""));  // unknown folders refuse nothing
}

}  // namespace
}  // namespace ld
