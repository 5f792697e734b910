#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <string>

#include "starter/report/box_presenter.h"
#include "starter/platform/folders.h"
#include "starter/platform/registry.h"
#include "starter/shell/cache_cleanup.h"
#include "starter/shell/shell_records.h"
#include "starter/shell/shortcuts.h"
#include "tests/win/support/win_test_support.h"

namespace ld {
namespace {

using test::RecordingPresenter;
using test::ScratchFolder;

std::string ReadText(const std::string& key_path, const char* name) {
  RegistryKey key;
  std::string text;
  if (OpenUserKey(key_path, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS)
    ReadTextValue(key.Get(), name, &text);
  return text;
}

TEST(ShellRecords, UninstallEntryAndElevationPolicy) {
  ASSERT_TRUE(WriteUninstallEntry("C:\\Games\\Ludoria\\ko"));
  EXPECT_EQ(ReadText(kUninstallKey, "DisplayName"), "루도리아");
  EXPECT_EQ(ReadText(kUninstallKey, "DisplayIcon"), "C:\\Games\\Ludoria\\ko\\LudUninstall.exe");
  EXPECT_EQ(ReadText(kUninstallKey, "UninstallString"), "C:\\Games\\Ludoria\\ko\\LudUninstall.exe");
  EXPECT_EQ(ReadText(kUninstallKey, "Publisher"), "QRX Corp.");

  ASSERT_TRUE(WriteElevationPolicy("C:\\users\\me\\AppData\\Ludoria"));
  const std::string policy = std::string(kElevationPolicyKey) + "\\" + kStarterAppId;
  EXPECT_EQ(ReadText(policy, "AppName"), "ldstarter.exe");
  EXPECT_EQ(ReadText(policy, "AppPath"), "C:\\users\\me\\AppData\\Ludoria");
  RegistryKey key;
  ASSERT_EQ(OpenUserKey(policy, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  DWORD number = 0;
  EXPECT_EQ(ReadNumberValue(key.Get(), "Policy", &number), ERROR_SUCCESS);
  EXPECT_EQ(number, 3u);
}

// Sets the open commands of "http" and "htmlfile" in the classes root and
// puts the machine's own commands back afterwards.
class BrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_http_ = Command("http");
    saved_htmlfile_ = Command("htmlfile");
  }
  void TearDown() override {
    SetCommand("http", saved_http_);
    SetCommand("htmlfile", saved_htmlfile_);
  }
  static std::string Path(const char* scheme) {
    return std::string(scheme) + "\\Shell\\Open\\Command";
  }
  static std::string Command(const char* scheme) {
    RegistryKey key;
    std::string text;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, Path(scheme).c_str(), 0, KEY_QUERY_VALUE, key.Put()) ==
        ERROR_SUCCESS)
      ReadTextValue(key.Get(), "", &text);
    return text;
  }
  static void SetCommand(const char* scheme, const std::string& command) {
    RegistryKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, Path(scheme).c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(SetTextValue(key.Get(), "", command), ERROR_SUCCESS);
  }

 private:
  std::string saved_http_;
  std::string saved_htmlfile_;
};

TEST_F(BrowserTest, ExplorerWinsAndItsPathIsCleaned) {
  SetCommand("http", "\"C:\\Other\\browser.exe\" \"%1\"");
  SetCommand("htmlfile", "\"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE\" -nohome");
  EXPECT_EQ(FindBrowserExecutable(), "c:\\program files\\internet explorer\\iexplore.exe");
  SetCommand("htmlfile", "\"C:\\Viewer\\view.exe\" %1");
  EXPECT_EQ(FindBrowserExecutable(), "c:\\other\\browser.exe");
}

// Reads a shortcut back through the shell link object.
struct LinkFields {
  std::string path, arguments, icon, description;
  int icon_index = -1;
};

bool ReadLink(const std::string& link, LinkFields* fields) {
  IShellLinkA* shell_link = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shell_link))))
    return false;
  IPersistFile* file = nullptr;
  bool ok =
      SUCCEEDED(shell_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
  wchar_t wide[MAX_PATH] = {};
  ::MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
  ok = ok && SUCCEEDED(file->Load(wide, STGM_READ));
  char text[1024] = {};
  if (ok) {
    shell_link->GetPath(text, sizeof(text), nullptr, SLGP_RAWPATH);
    fields->path = text;
    shell_link->GetArguments(text, sizeof(text));
    fields->arguments = text;
    shell_link->GetIconLocation(text, sizeof(text), &fields->icon_index);
    fields->icon = text;
    shell_link->GetDescription(text, sizeof(text));
    fields->description = text;
  }
  if (file) file->Release();
  shell_link->Release();
  return ok;
}

TEST_F(BrowserTest, ShortcutsReadBack) {
  ::CoInitialize(nullptr);
  ScratchFolder desktop;
  ShortcutPlan direct{desktop.Sub("Direct.lnk"), "Direct one", "C:\\Games\\tabla.exe",
                      "C:\\Games\\tabla.ico", false};
  ASSERT_TRUE(SUCCEEDED(CreateShortcut(direct)));
  LinkFields fields;
  ASSERT_TRUE(ReadLink(direct.link, &fields));
  EXPECT_EQ(fields.path, "C:\\Games\\tabla.exe");
  EXPECT_EQ(fields.arguments, "");
  EXPECT_EQ(fields.icon, "C:\\Games\\tabla.ico");
  EXPECT_EQ(fields.icon_index, 0);
  EXPECT_EQ(fields.description, "Direct one");

  SetCommand("http", "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" %1");
  ShortcutPlan web{desktop.Sub("Web.lnk"), "Web", "http://game.ludoria.com/tabla", "", true};
  ASSERT_TRUE(SUCCEEDED(CreateShortcut(web)));
  ASSERT_TRUE(ReadLink(web.link, &fields));
  EXPECT_NE(fields.path.find("iexplore.exe"), std::string::npos) << fields.path;
  EXPECT_EQ(fields.arguments, "http://game.ludoria.com/tabla");
  EXPECT_EQ(fields.icon, "");

  // No browser: no shortcut through it.
  SetCommand("http", "");
  SetCommand("htmlfile", "");
  ShortcutPlan none{desktop.Sub("None.lnk"), "", "http://x", "", true};
  EXPECT_TRUE(FAILED(CreateShortcut(none)));
  EXPECT_FALSE(FileExists(none.link));
  ::CoUninitialize();
}

// Puts a page into the URL cache.
bool CachePage(const std::string& url) {
  char file[MAX_PATH] = {};
  if (!::CreateUrlCacheEntryA(url.c_str(), 0, "html", file, 0)) return false;
  ScratchFolder::WriteFile(file, "<html></html>");
  FILETIME none = {};
  return ::CommitUrlCacheEntryA(url.c_str(), file, none, none, NORMAL_CACHE_ENTRY, nullptr, 0,
                                nullptr, nullptr) != FALSE;
}

bool Cached(const std::string& url) {
  DWORD size = 0;
  ::GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size);
  return ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

TEST(CacheCleanup, OnlyOutdatedLauncherPagesGo) {
  const std::string page = "http://game.ludoria.com/launcher.qrx?gameid=cachet&type=left";
  const std::string with_long_query = page + "&pad=" + std::string(300, 'p');
  const std::string advert = "http://game.ludoria.com/launcher.qrx?gameid=cachet&adtype=y";
  const std::string other_game = "http://game.ludoria.com/launcher.qrx?gameid=another";
  for (const std::string& url : {page, with_long_query, advert, other_game})
    ASSERT_TRUE(CachePage(url)) << url;
  RecordingPresenter boxes;
  ScopedBoxPresenter scoped(&boxes);
  EXPECT_EQ(CleanLauncherPages("CACHET", "ludoria.com", true), 2);
  EXPECT_FALSE(Cached(page));
  EXPECT_FALSE(Cached(with_long_query));
  EXPECT_TRUE(Cached(advert));
  EXPECT_TRUE(Cached(other_game));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "1) " + page + "\n2) " + with_long_query + "\n");
  EXPECT_EQ(CleanLauncherPages("cachet", "ludoria.com", false), 0);
  ::DeleteUrlCacheEntryA(advert.c_str());
  ::DeleteUrlCacheEntryA(other_game.c_str());
}

}  // namespace
}  // namespace ld
