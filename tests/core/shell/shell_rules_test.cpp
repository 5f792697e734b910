#include "core/shell/shell_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace ld {
namespace {

TEST(ShellRules, BrowserCommand) {
  const char* ie = "\"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE\" -nohome";
  const char* other = "\"C:\\Other\\browser.exe\" \"%1\"";
  const struct {
    const char* http;
    const char* htmlfile;
    const char* chosen;
  } cases[] = {
      {ie, other, ie},
      {other, ie, ie},  // another browser for "http", Explorer for "htmlfile"
      {other, "C:\\x\\viewer.exe", other},
      {other, "", other},
      {"", other, other},
      {"", "", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChooseBrowserCommand(c.http, c.htmlfile), c.chosen) << c.http << "|" << c.htmlfile;
  EXPECT_EQ(BrowserExecutable(ie), "c:\\program files\\internet explorer\\iexplore.exe");
  EXPECT_EQ(BrowserExecutable("C:\\b.EXE"), "c:\\b.exe");
  EXPECT_EQ(BrowserExecutable("\"C:\\browser\" %1"), "");
  EXPECT_EQ(BrowserExecutable(""), "");
}

TEST(ShellRules, LauncherPageSelection) {
  const std::string domain = PortalDomain("www.ludoria.com:8080");
  EXPECT_EQ(domain, "ludoria.com");
  EXPECT_EQ(PortalDomain("127.0.0.1"), "127.0.0.1");
  const CacheEntryKind normal;
  CacheEntryKind cookie;
  cookie.cookie = true;
  const struct {
    const char* url;
    CacheEntryKind kind;
    bool selected;
  } cases[] = {
      {"http://game.ludoria.com/launcher.qrx?gameid=tabla&type=left", normal, true},
      {"http://game.ludoria.com/launcher.qrx?gameid=tabla&adtype=y&type=left", normal, false},
      {"http://game.ludoria.com/launcher.qrx?gameid=tabla", cookie, false},
      {"http://game.ludoria.com/launcher.qrx?gameid=other", normal, false},
      {"http://game.ludoria.com/tabla.html?x=1", normal, false},
      {"http://elsewhere.com/launcher.qrx?gameid=tabla", normal, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsOutdatedLauncherPage(c.url, c.kind, domain, "tabla"), c.selected) << c.url;
  EXPECT_EQ(CacheCleanReport({{"http://a", true}, {"http://b", false}}),
            "1) http://a\n2) FAILED http://b\n");
}

TEST(ShellRules, Shortcuts) {
  ShortcutSettings s;
  ShortcutPlan plan;
  EXPECT_FALSE(GameShortcut("D", "L", "tabla", s, &plan));
  s.url = "http://game/tabla";
  s.name = "Tabla";
  s.desc = "Play";
  s.in_browser = true;
  ASSERT_TRUE(GameShortcut("D", "L", "tabla", s, &plan));
  EXPECT_EQ(plan.link, "D\\Tabla.lnk");
  EXPECT_EQ(plan.icon, "L\\common\\Images\\tabla.ico");
  EXPECT_EQ(plan.target, "http://game/tabla");
  EXPECT_TRUE(plan.through_browser);
  s.icon_path = "icons\\t.ico";
  ASSERT_TRUE(GameShortcut("D", "L", "tabla", s, &plan));
  EXPECT_EQ(plan.icon, "L\\icons\\t.ico");

  plan = PortalShortcut("D", "L", "Game Title", "http://www.ludoria.com");
  EXPECT_EQ(plan.link, "D\\Game Title.lnk");
  EXPECT_EQ(plan.icon, "L\\common\\Images\\newldc2005.ico");
  EXPECT_EQ(plan.target, "http://www.ludoria.com/?docref=icon");
  EXPECT_TRUE(plan.through_browser);
  EXPECT_EQ(PortalShortcut("D", "L", "T", "http://h/").target, "http://h/?docref=icon");
}

}  // namespace
}  // namespace ld
