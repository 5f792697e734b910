#include "starter/shell/shortcuts.h"

#include <objbase.h>
#include <shlobj.h>

#include "starter/platform/folders.h"
#include "starter/platform/registry.h"
#include "starter/platform/win_handle.h"

namespace ld {
namespace {

constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string ClassesCommand(const char* path) {
  RegistryKey key;
  if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, path, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
    return std::string();
  std::string text;
  ReadTextValue(key.Get(), "", &text);
  return text;
}

// Releases a COM interface at scope end.
template <typename T>
struct ComRelease {
  T* p = nullptr;
  ~ComRelease() {
    if (p) p->Release();
  }
};

}  // namespace

std::string DesktopFolder() {
  RegistryKey key;
  if (OpenUserKey(kShellFoldersKey, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::string();
  std::string folder;
  ReadTextValue(key.Get(), "Desktop", &folder);
  return folder;
}

std::string FindBrowserExecutable() {
  return BrowserExecutable(ChooseBrowserCommand(ClassesCommand("http\\Shell\\Open\\Command"),
                                                ClassesCommand("htmlfile\\Shell\\Open\\Command")));
}

HRESULT CreateShortcut(const ShortcutPlan& plan) {
  std::string target = plan.target;
  std::string arguments;
  if (plan.through_browser) {
    const std::string browser = FindBrowserExecutable();
    if (browser.empty()) return E_FAIL;
    target = "\"" + browser + "\"";
    arguments = plan.target;
  }
  wchar_t link[260] = {};
  if (::MultiByteToWideChar(CP_ACP, 0, plan.link.c_str(), -1, link, 259) == 0) return E_FAIL;

  const HRESULT init = ::CoInitialize(nullptr);
  HRESULT result;
  {
    ComRelease<IShellLinkA> shell_link;
    result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shell_link.p));
    if (SUCCEEDED(result)) {
      shell_link.p->SetPath(target.c_str());
      shell_link.p->SetDescription(plan.description.c_str());
      shell_link.p->SetWorkingDirectory("");
      if (!plan.icon.empty()) shell_link.p->SetIconLocation(plan.icon.c_str(), 0);
      if (!arguments.empty()) shell_link.p->SetArguments(arguments.c_str());
      ComRelease<IPersistFile> file;
      result = shell_link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p));
      if (SUCCEEDED(result)) result = file.p->Save(link, TRUE);
    }
  }
  if (SUCCEEDED(init)) ::CoUninitialize();
  return result;
}

bool CreateDesktopShortcuts(const DesktopShortcutInputs& inputs) {
  const std::string desktop = DesktopFolder();
  if (desktop.empty()) return false;
  ShortcutPlan plan;
  if (GameShortcut(desktop, inputs.language_folder, inputs.game_id, inputs.game_shortcut, &plan))
    CreateShortcut(plan);
  if (inputs.portal_shortcut) {
    plan = PortalShortcut(desktop, inputs.language_folder, inputs.game_title, inputs.home_address);
    if (FileExists(plan.icon)) CreateShortcut(plan);
  }
  return true;
}

}  // namespace ld
