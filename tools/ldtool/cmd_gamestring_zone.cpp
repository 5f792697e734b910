// `ldtool gamestring zone TEXT`: which servers the starter would use for a
// launch string (zone value, zone number, starter distribution root, game
// download and update-list roots), with the compiled-in deployment hosts or
// those of an options file's [servers] section.
#include <cstdio>
#include <string>
#include <vector>

#include "core/launch/gamestring.h"
#include "core/profile/profile_file.h"
#include "core/settings/server_endpoints.h"
#include "core/settings/server_hosts.h"
#include "core/launch/zone.h"
#include "tools/ldtool/command.h"

namespace ld::tool {
namespace {

const char kUsage[] =
    "usage: ldtool gamestring zone [--ini FILE] TEXT\n"
    "Prints the server zone TEXT (a command line or first gamestring) selects:\n"
    "  zone=      the zone value character (empty when none)\n"
    "  number=    the zone number 0..5\n"
    "  dist=      the starter distribution root (self-update)\n"
    "  download=  the game download root + \"/dist\"\n"
    "  hul=       the game download root + \"/hul\"\n"
    "The new format applies when TEXT contains \"ludoria://P=&\". Hosts are the\n"
    "compiled-in deployment defaults, overridden by the [servers] section of\n"
    "FILE (an \"ldstarter.ini\") when --ini is given.\n";

int Run(const std::vector<std::string>& args) {
  std::string text;
  std::string ini;
  bool have_text = false;
  bool options_done = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!options_done && a == "--") {
      options_done = true;
    } else if (!options_done && a == "--ini") {
      if (i + 1 >= args.size()) return UsageError("gamestring zone: --ini needs a FILE");
      ini = args[++i];
    } else if (!options_done && (a == "--help" || a == "-h")) {
      std::fputs(kUsage, stdout);
      return kExitOk;
    } else if (!options_done && a.size() > 1 && a[0] == '-') {
      return UsageError("gamestring zone: unknown option '" + a + "'");
    } else if (have_text) {
      return UsageError("gamestring zone: expected one TEXT, got more (quote the launch string)");
    } else {
      text = a;
      have_text = true;
    }
  }
  if (!have_text) return UsageError("gamestring zone: missing TEXT");

  ServerHosts hosts;
  if (!ini.empty()) {
    ProfileFile options;
    if (!options.Load(ini)) {
      std::fprintf(stderr, "ldtool: gamestring zone: cannot read '%s'\n", ini.c_str());
      return kExitFailure;
    }
    hosts = ServerHosts::FromProfile(options);
  }
  const char zone = ZoneValue(text, FormatOfCommandLine(text));
  const int number = ZoneNumber(zone);
  std::string zone_text;
  if (zone != kNoZone) zone_text.assign(1, zone);
  std::printf("zone=%s\n", zone_text.c_str());
  std::printf("number=%d\n", number);
  std::printf("dist=%s\n", StarterDistributionRoot(hosts, zone).c_str());
  std::printf("download=%s\n", GameDownloadRoot(hosts, number, "dist").c_str());
  std::printf("hul=%s\n", GameDownloadRoot(hosts, number, "hul").c_str());
  return kExitOk;
}

}  // namespace

LD_TOOL_COMMAND(gamestring_zone, "gamestring zone", "show the server zone of a launch string", Run);

}  // namespace ld::tool
