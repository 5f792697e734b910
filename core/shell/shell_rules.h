// Decisions of the shell integration that need no system: which browser
// command to use, which cached pages are outdated launcher pages, the
// clean-up report, and the desktop shortcuts to make. Pure; any thread.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/catalogue/catalogue.h"

namespace ld {

// The command to take from the "http" and "htmlfile" open commands: "http"
// when it names Internet Explorer; otherwise "htmlfile" when "http" is empty
// or "htmlfile" names Internet Explorer; otherwise "http". Empty: no browser.
std::string ChooseBrowserCommand(const std::string& http_command,
                                 const std::string& htmlfile_command);

// The executable of a browser command: the characters before the first
// letter (an opening quote) skipped, lower-cased, up to and including the
// first ".exe". Empty when the command is empty or names no ".exe".
std::string BrowserExecutable(const std::string& command);

// Kind of a URL cache entry, as far as the selection cares.
struct CacheEntryKind {
  bool cookie = false;
  bool history = false;
  bool sparse = false;
};

// An outdated launcher page of the game: not a cookie, history or sparse
// entry, and the URL holds the portal's domain, the lower-cased game id and
// ".qrx?" but not "adtype=" (advertising panels stay).
bool IsOutdatedLauncherPage(const std::string& url, const CacheEntryKind& kind,
                            const std::string& domain, const std::string& game_id_lower);

// The portal's domain as cached URLs carry it: the host without port and
// without a leading "www.".
std::string PortalDomain(const std::string& portal_host);

// Kind-mode report of a clean-up, one line per URL in the order given (url,
// deleted), numbered from 1: "1) <http://...>" or "2) FAILED <http://...>",
// the angle brackets written as shown.
std::string CacheCleanReport(const std::vector<std::pair<std::string, bool>>& results);

struct ShortcutPlan {
  std::string link;  // "<desktop>\<name>.lnk"
  std::string description;
  std::string target;  // address or program
  std::string icon;    // empty: none
  bool through_browser = false;
};

// The game's shortcut from the catalogue values; false when it has no
// address. The icon is "<language folder>\<ShortCut_IconPath>", or
// "<language folder>\common\Images\<game id>.ico" when that is empty.
bool GameShortcut(const std::string& desktop, const std::string& language_folder,
                  const std::string& game_id, const ShortcutSettings& settings, ShortcutPlan* plan);

// The portal's shortcut named after the game title, opened through the
// browser at the home page with "?docref=icon" on its root path; the icon is
// "<language folder>\common\Images\newldc2005.ico" (the caller makes no
// shortcut when that file is missing).
ShortcutPlan PortalShortcut(const std::string& desktop, const std::string& language_folder,
                            const std::string& game_title, const std::string& home_address);

}  // namespace ld
