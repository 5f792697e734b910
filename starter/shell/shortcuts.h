// Desktop shortcuts of the game and of the portal, made through the shell
// link object, and the browser they open web addresses with. Failures are
// silent: a missing desktop folder or browser means no shortcut.
//
// Threads: the installation driver thread; each call initialises COM for
// itself when the thread has not.
#pragma once

#include <windows.h>

#include <string>

#include "core/catalogue/catalogue.h"
#include "core/shell/shell_rules.h"

namespace ld {

// The desktop folder from "Shell Folders"\"Desktop" of the current user;
// empty when it cannot be read.
std::string DesktopFolder();

// The browser executable from the "http" and "htmlfile" open commands of
// HKEY_CLASSES_ROOT; empty when none is found.
std::string FindBrowserExecutable();

// Makes one shortcut: through the browser, the target is the quoted browser
// and the address its argument (no browser: E_FAIL, nothing made);
// otherwise the target itself. Returns the last shell result.
HRESULT CreateShortcut(const ShortcutPlan& plan);

// What the desktop shortcuts are made of.
struct DesktopShortcutInputs {
  std::string language_folder;
  std::string game_id;
  std::string game_title;    // the launch string's k93e value
  std::string home_address;  // the portal's home page
  ShortcutSettings game_shortcut;
  bool portal_shortcut = false;  // the user kept the desktop-shortcut option
};

// Makes the game's shortcut (when the catalogue gives an address) and the
// portal's (when wanted and its icon exists). False only when the desktop
// folder cannot be read.
bool CreateDesktopShortcuts(const DesktopShortcutInputs& inputs);

}  // namespace ld
