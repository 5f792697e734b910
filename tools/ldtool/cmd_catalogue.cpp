// `ldtool catalogue dump`: reads a game kind catalogue with the starter's
// rules for one launched game and prints what the starter would make of it,
// including the packages it would fetch, as one JSON object.
#include <cstdio>
#include <string>
#include <vector>

#include <json/json.h>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/catalogue_packages.h"
#include "core/profile/profile_file.h"
#include "tools/ldtool/command.h"

namespace ld::tool {
namespace {

const char kDumpUsage[] =
    "usage: ldtool catalogue dump FILE --game ID [--name NAME]\n"
    "Reads the game kind catalogue FILE (\"gamekind.ini\") as the starter does for\n"
    "the launched game ID and prints one JSON object: bases (game lists of TABLA,\n"
    "TABLA_DX, FLORAEX and LEISUREDECK), companion (file, all, games), shortcut\n"
    "(ie, url, name, desc, icon), popup, no_base2005 and packages (the packages\n"
    "the launch needs, in the order the starter fetches them). NAME is the\n"
    "shortcut name used when the catalogue gives none (the game's name, k60e).\n"
    "Exits 1 when FILE cannot be read.\n";

Json::Value Strings(const std::vector<std::string>& items) {
  Json::Value array(Json::arrayValue);
  for (const std::string& s : items) array.append(s);
  return array;
}

int RunDump(const std::vector<std::string>& args) {
  std::string file, game, name;
  bool have_file = false, have_game = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kDumpUsage, stdout);
      return kExitOk;
    }
    if (a == "--game" || a == "--name") {
      if (i + 1 >= args.size()) return UsageError("option '" + a + "' needs a value");
      (a == "--game" ? game : name) = args[++i];
      if (a == "--game") have_game = true;
      continue;
    }
    if (a.size() > 1 && a[0] == '-') return UsageError("unknown option '" + a + "'");
    if (have_file) return UsageError("expected one FILE, got more");
    file = a;
    have_file = true;
  }
  if (!have_file) return UsageError("missing FILE");
  if (!have_game || game.empty()) return UsageError("missing --game ID");

  ProfileFile reader;
  if (!reader.Load(file)) {
    std::fprintf(stderr, "ldtool: cannot read '%s'\n", file.c_str());
    return kExitFailure;
  }
  Catalogue catalogue;
  ReadCatalogue(reader, game, name, &catalogue);

  Json::Value out(Json::objectValue);
  Json::Value bases(Json::objectValue);
  for (int kind = kFirstListedBaseKind; kind < kPackageKindCount; ++kind)
    bases[BaseSectionOfKind(kind)] = Strings(catalogue.base_games[kind]);
  out["bases"] = bases;

  Json::Value companion(Json::objectValue);
  companion["file"] = catalogue.companion.file;
  companion["all"] = catalogue.companion.all;
  companion["games"] = Strings(catalogue.companion.games);
  out["companion"] = companion;

  Json::Value shortcut(Json::objectValue);
  shortcut["ie"] = catalogue.shortcut.in_browser;
  shortcut["url"] = catalogue.shortcut.url;
  shortcut["name"] = catalogue.shortcut.name;
  shortcut["desc"] = catalogue.shortcut.desc;
  shortcut["icon"] = catalogue.shortcut.icon_path;
  out["shortcut"] = shortcut;

  out["popup"] = catalogue.popup;
  out["no_base2005"] = catalogue.no_base2005;

  Json::Value packages(Json::arrayValue);
  for (const PackagePlan& p : NeededPackages(catalogue, game)) packages.append(p.name);
  out["packages"] = packages;

  Json::StreamWriterBuilder builder;
  builder["indentation"] = "  ";
  std::string text = Json::writeString(builder, out);
  std::printf("%s\n", text.c_str());
  return kExitOk;
}

}  // namespace

LD_TOOL_COMMAND(catalogue_dump, "catalogue dump",
                "print what the starter reads from a game kind catalogue (JSON)", RunDump);

}  // namespace ld::tool
