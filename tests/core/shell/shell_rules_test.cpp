#include "core/shell/shell_rules.h"

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(ShellRules, BrowserAndOutdatedLauncherPages) {
  const char* ie = "\"C:\\Program Files\\IE\\IEXPLORE.EXE\" -nohome";
  const char* ot = "\"C:\\Other\\browser.exe\" \"%1\"";
  // {http, htmlfile, chosen}: Explorer wins wherever it is named.
  const char* cases[][3] = {
      {ie, ot, ie}, {ot, ie, ie}, {ot, "v.exe", ot}, {ot, "", ot}, {"", ot, ot}};
  for (const auto& c : cases) EXPECT_EQ(ChooseBrowserCommand(c[0], c[1]), c[2]) << c[0] << c[1];
  EXPECT_EQ(BrowserExecutable(ie), "c:\\program files\\ie\\iexplore.exe");
  EXPECT_EQ(BrowserExecutable("\"C:\\browser\" %1"), "");

  const std::string domain = PortalDomain("www.ludoria.com:8080");
  const char* page = "http://g.ludoria.com/launcher.qrx?gameid=tabla";
  EXPECT_TRUE(IsOutdatedLauncherPage(page, {}, domain, "tabla"));
  EXPECT_FALSE(IsOutdatedLauncherPage(page, {true}, domain, "tabla"));  // a cookie
  EXPECT_FALSE(IsOutdatedLauncherPage(page, {false, false, true}, domain, "tabla"));
  for (const char* url : {"ludoria.com/x.qrx?tabla&adtype=", "ludoria.com/x.qrx?other",
                          "ludoria.com/tabla.html?x", "elsewhere.com/x.qrx?tabla"})
    EXPECT_FALSE(IsOutdatedLauncherPage(url, {}, domain, "tabla")) << url;
  EXPECT_EQ(CacheCleanReport({{"a", true}, {"b", false}}), "1) <a>\n2) FAILED <b>\n");
}

TEST(ShellRules, Shortcuts) {
  ShortcutPlan plan;
  EXPECT_FALSE(GameShortcut("D", "L", "tabla", ShortcutSettings(), &plan));
  ASSERT_TRUE(GameShortcut("D", "L", "t", {true, "u", "T", "", ""}, &plan));
  EXPECT_EQ(plan.link + "|" + plan.icon + "|" + plan.target, "D\\T.lnk|L\\common\\Images\\t.ico|u");
  plan = PortalShortcut("D", "L", "Title", "http://www.ludoria.com");
  EXPECT_EQ(plan.link + "|" + plan.icon + "|" + plan.target,
            "D\\Title.lnk|L\\common\\Images\\newldc2005.ico|http://www.ludoria.com/?docref=icon");
  EXPECT_TRUE(plan.through_browser);
  EXPECT_EQ(PortalShortcut("D", "L", "T", "http://h/").target, "http://h/?docref=icon");
}

}  // namespace
}  // namespace ld
