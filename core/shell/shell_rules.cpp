#include "core/shell/shell_rules.h"

#include "core/base/ascii.h"

namespace ld {
namespace {

bool NamesExplorer(const std::string& command) {
  return AsciiLowered(command).find("iexplore") != std::string::npos;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::string ChooseBrowserCommand(const std::string& http_command,
                                 const std::string& htmlfile_command) {
  if (!http_command.empty() && NamesExplorer(http_command)) return http_command;
  if (htmlfile_command.empty()) return http_command;
  if (!http_command.empty())
    return NamesExplorer(htmlfile_command) ? htmlfile_command : http_command;
  return htmlfile_command;
}

std::string BrowserExecutable(const std::string& command) {
  std::size_t begin = 0;
  while (begin < command.size() && !IsAsciiLetter(command[begin])) ++begin;
  const std::string lowered = AsciiLowered(command.substr(begin));
  const std::size_t exe = lowered.find(".exe");
  if (exe == std::string::npos) return std::string();
  return lowered.substr(0, exe + 4);
}

bool IsOutdatedLauncherPage(const std::string& url, const CacheEntryKind& kind,
                            const std::string& domain, const std::string& game_id_lower) {
  if (kind.cookie || kind.history || kind.sparse) return false;
  return !domain.empty() && url.find(domain) != std::string::npos &&
         url.find(game_id_lower) != std::string::npos && url.find(".qrx?") != std::string::npos &&
         url.find("adtype=") == std::string::npos;
}

std::string PortalDomain(const std::string& portal_host) {
  std::string host = portal_host.substr(0, portal_host.rfind(':'));
  if (StartsWithIgnoreAsciiCase(host, "www.")) host.erase(0, 4);
  return host;
}

std::string CacheCleanReport(const std::vector<std::pair<std::string, bool>>& results) {
  std::string report;
  int number = 0;
  for (const auto& [url, deleted] : results)
    report += std::to_string(++number) + ") " + (deleted ? "" : "FAILED ") + "<" + url + ">\n";
  return report;
}

bool GameShortcut(const std::string& desktop, const std::string& language_folder,
                  const std::string& game_id, const ShortcutSettings& settings,
                  ShortcutPlan* plan) {
  if (settings.url.empty()) return false;
  plan->link = desktop + "\\" + settings.name + ".lnk";
  plan->description = settings.desc;
  plan->target = settings.url;
  plan->icon =
      language_folder + "\\" +
      (settings.icon_path.empty() ? "common\\Images\\" + game_id + ".ico" : settings.icon_path);
  plan->through_browser = settings.in_browser;
  return true;
}

ShortcutPlan PortalShortcut(const std::string& desktop, const std::string& language_folder,
                            const std::string& game_title, const std::string& home_address) {
  ShortcutPlan plan;
  plan.link = desktop + "\\" + game_title + ".lnk";
  plan.icon = language_folder + "\\common\\Images\\newldc2005.ico";
  plan.description = "즐거운 쉼표, Go 루도리아!";
  // The root path of "http://host" is "/"; an address that already has a
  // path keeps it.
  std::string target = home_address;
  const std::size_t scheme = target.find("://");
  const std::size_t path = target.find('/', scheme == std::string::npos ? 0 : scheme + 3);
  if (path == std::string::npos) target += "/";
  plan.target = target + "?docref=icon";
  plan.through_browser = true;
  return plan;
}

}  // namespace ld
