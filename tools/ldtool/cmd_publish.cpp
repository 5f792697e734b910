// `ldtool publish`: a game folder (and optionally the starter) written as the
// download-server tree the starter reads. See publish_package.h for the
// layout; the catalogue lives beside the update lists.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/base/ascii.h"
#include "core/catalogue/package_kind.h"
#include "core/base/time_value.h"
#include "core/self_update/version_info.h"
#include "tools/ldtool/command.h"
#include "tools/ldtool/publish_catalogue.h"
#include "tools/ldtool/publish_package.h"
#include "tools/ldtool/publish_scan.h"

namespace ld::tool {
namespace {

const char kUsage[] =
    "usage: ldtool publish --to ROOT [--package NAME --from DIR] [options]\n"
    "Package (update list ROOT/hul/newhul/NAME.hul, zips under ROOT/dist/NAME/):\n"
    "  --version V          list version (default 1.5.0; below 1.5.0 the older\n"
    "                       layout keeps all zips side by side)\n"
    "  --downloadurl URL    download address written into the list\n"
    "  --title NAME         project name (default: the package name)\n"
    "  --pubdate YYYYMMDD-HHMMSS  publication time (default: newest file)\n"
    "  --uninstall PATH     [UNINSTALL] entry, e.g. /data/old.dat or <WINDOWS>/Fonts/x.ttf\n"
    "  --setup [LISTPATH=]SOURCE  [SETUP_INSTALL] archive (a file, or a folder to zip)\n"
    "Catalogue ROOT/hul/newhul/gamekind.ini (created when missing):\n"
    "  --game ID            game the entries are about (default: a game package's name)\n"
    "  --base NAME          add the game to a base's GameID list (TABLA, tbbase, ...)\n"
    "  --popup | --no-popup             list under / remove from unity_games\n"
    "  --no-base2005 | --base2005       list under / remove from no_base2005\n"
    "  --companion          add the game to the DEEPRUN GameID list\n"
    "  --companion-file F   DEEPRUN file;  --companion-all 0|1  DEEPRUN all\n"
    "  --shortcut-ie V --shortcut-url U --shortcut-name N --shortcut-desc D\n"
    "  --shortcut-icon P    GameSpec.<game> keys\n"
    "Starter (ROOT/DIST/ldstart/):\n"
    "  --starter EXE --starter-version A.B.C.D [--rollback]\n"
    "  --starter-dist DIST  distribution root: dist (real zone, default),\n"
    "                       ld2005/dist (development, alpha, outside), pica/dist\n";

// "YYYYMMDD-HHMMSS" as a local date-time.
bool ParsePubdate(const std::string& text, TimeValue* out) {
  if (text.size() != 15 || text[8] != '-') return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (i != 8 && (text[i] < '0' || text[i] > '9')) return false;
  auto num = [&](size_t at, size_t n) { return std::atoi(text.substr(at, n).c_str()); };
  *out = TimeFromFields(num(0, 4), num(4, 2), num(6, 2), num(9, 2), num(11, 2), num(13, 2));
  return *out != 0;
}

// The distribution roots the zones' servers use below the served root.
bool ValidStarterDist(const std::string& dist) {
  return dist == "dist" || dist == "ld2005/dist" || dist == "pica/dist";
}

bool PublishStarter(const std::string& root, const std::string& dist, const std::string& exe,
                    const std::string& version, bool rollback, std::string* error) {
  PackedVersion packed;
  if (!ParseDottedVersion(version, &packed)) {
    *error = "--starter-version must be A.B.C.D with parts 0..65535";
    return false;
  }
  std::ifstream in(exe, std::ios::binary);
  if (!in) {
    *error = "cannot read starter " + exe;
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The starter asks for its own file name in lower case.
  std::filesystem::path dir = std::filesystem::path(root) / dist / "ldstart";
  std::string name = AsciiLowered(std::filesystem::path(exe).filename().string());
  if (!WriteFileAtomically((dir / name).string(), bytes, error)) return false;
  std::string info = version + (rollback ? " rollback" : "") + "\r\n";
  return WriteFileAtomically((dir / kVersionInfoFileName).string(), info, error);
}

bool ValidPackageName(const std::string& name) {
  if (name.empty() || name == "." || name == ".." || name.size() > 64) return false;
  for (char c : name)
    if (c == '/' || c == '\\' || c == ' ' || c == ',' || static_cast<unsigned char>(c) < 0x20)
      return false;
  return true;
}

int RunPublish(const std::vector<std::string>& args) {
  PackageOptions pkg;
  CatalogueOptions cat;
  std::string starter, starter_version, starter_dist = "dist";
  bool rollback = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    // Switches without a value.
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return kExitOk;
    }
    if (a == "--popup" || a == "--no-popup") {
      cat.popup = a == "--popup";
      continue;
    }
    if (a == "--no-base2005" || a == "--base2005") {
      cat.no_base2005 = a == "--no-base2005";
      continue;
    }
    if (a == "--companion") {
      cat.companion = true;
      continue;
    }
    if (a == "--rollback") {
      rollback = true;
      continue;
    }
    if (i + 1 >= args.size()) return UsageError("publish: " + a + " needs a value or is unknown");
    const std::string& v = args[++i];
    if (a == "--package") {
      pkg.package = v;
    } else if (a == "--from") {
      pkg.from = v;
    } else if (a == "--to") {
      pkg.root = v;
    } else if (a == "--version") {
      pkg.version = v;
    } else if (a == "--downloadurl") {
      pkg.download_url = v;
    } else if (a == "--title") {
      pkg.project_name = v;
    } else if (a == "--pubdate") {
      if (!ParsePubdate(v, &pkg.pubdate)) return UsageError("publish: bad --pubdate " + v);
      pkg.has_pubdate = true;
    } else if (a == "--uninstall") {
      pkg.uninstall.push_back(v);
    } else if (a == "--setup") {
      pkg.setup.push_back(v);
    } else if (a == "--game") {
      cat.game = v;
    } else if (a == "--base") {
      cat.bases.push_back(v);
    } else if (a == "--companion-file") {
      cat.companion_file = v;
    } else if (a == "--companion-all") {
      if (v != "0" && v != "1") return UsageError("publish: --companion-all takes 0 or 1");
      cat.companion_all = v == "1";
    } else if (a == "--shortcut-ie") {
      cat.shortcut_ie = v;
    } else if (a == "--shortcut-url") {
      cat.shortcut_url = v;
    } else if (a == "--shortcut-name") {
      cat.shortcut_name = v;
    } else if (a == "--shortcut-desc") {
      cat.shortcut_desc = v;
    } else if (a == "--shortcut-icon") {
      cat.shortcut_icon = v;
    } else if (a == "--starter") {
      starter = v;
    } else if (a == "--starter-version") {
      starter_version = v;
    } else if (a == "--starter-dist") {
      if (!ValidStarterDist(v))
        return UsageError("publish: --starter-dist is dist, ld2005/dist or pica/dist");
      starter_dist = v;
    } else {
      return UsageError("publish: unknown option " + a);
    }
  }
  if (pkg.root.empty()) return UsageError("publish: --to ROOT is required");
  if (pkg.package.empty() && starter.empty() && !cat.AnyEntry())
    return UsageError("publish: nothing to publish (--package, --starter or catalogue entries)");
  if (!pkg.package.empty() && !ValidPackageName(pkg.package))
    return UsageError("publish: bad package name '" + pkg.package + "'");
  if (!pkg.package.empty() && pkg.from.empty())
    return UsageError("publish: --from DIR is required");
  if (starter.empty() != starter_version.empty())
    return UsageError("publish: --starter and --starter-version go together");
  // A game package names its own catalogue entries; base packages do not.
  if (cat.game.empty() && !pkg.package.empty() && PackageKindOfName(pkg.package) < 0)
    cat.game = pkg.package;

  std::string error;
  if (!pkg.package.empty()) {
    PackageSummary summary;
    if (!PublishPackage(pkg, &summary, &error)) {
      std::fprintf(stderr, "ldtool: publish: %s\n", error.c_str());
      return kExitFailure;
    }
    std::printf("package %s: %u files in %u folders, %llu zip bytes, %u setup archives -> %s\n",
                pkg.package.c_str(), summary.files, summary.dirs,
                static_cast<unsigned long long>(summary.zip_bytes), summary.setup_archives,
                summary.list_path.c_str());
  }
  if (!cat.game.empty() || cat.AnyEntry()) {
    std::string path =
        (std::filesystem::path(pkg.root) / "hul" / "newhul" / "gamekind.ini").string();
    bool changed = false;
    if (!UpdateCatalogue(path, cat, &changed, &error)) {
      std::fprintf(stderr, "ldtool: publish: %s\n", error.c_str());
      return kExitFailure;
    }
    std::printf("catalogue %s%s\n", path.c_str(), changed ? " updated" : " unchanged");
  }
  if (!starter.empty()) {
    if (!PublishStarter(pkg.root, starter_dist, starter, starter_version, rollback, &error)) {
      std::fprintf(stderr, "ldtool: publish: %s\n", error.c_str());
      return kExitFailure;
    }
    std::printf("starter %s %s%s\n", starter_version.c_str(),
                AsciiLowered(std::filesystem::path(starter).filename().string()).c_str(),
                rollback ? " (rollback)" : "");
  }
  return kExitOk;
}

}  // namespace

LD_TOOL_COMMAND(publish, "publish", "write a game folder as a download-server tree", RunPublish);

}  // namespace ld::tool
