// `ldtool version compare FILE A.B.C.D`: what a starter of version A.B.C.D
// would decide on reading FILE as the published "ldstarter_verinfo.dat", so
// operators can check a version file (and a rollback order) before
// publishing it.
#include <cstdio>
#include <string>
#include <vector>

#include "core/self_update/version_info.h"
#include "tools/ldtool/command.h"

namespace ld::tool {
namespace {

const char kUsage[] =
    "usage: ldtool version compare FILE A.B.C.D\n"
    "Reads FILE as the version information file (\"%d.%d.%d.%d\" and an optional\n"
    "order word; \"rollback\" in any case orders a rollback) and compares it with\n"
    "the own version A.B.C.D (each part 0..65535). Prints \"update\" when a\n"
    "starter of that version would fetch the published program, otherwise\n"
    "\"no update\". Exits 1 when FILE cannot be read.\n";

int Run(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  bool options_done = false;
  for (const std::string& a : args) {
    if (!options_done && a == "--") {
      options_done = true;
    } else if (!options_done && (a == "--help" || a == "-h")) {
      std::fputs(kUsage, stdout);
      return kExitOk;
    } else if (!options_done && a.size() > 1 && a[0] == '-') {
      return UsageError("version compare: unknown option '" + a + "'");
    } else {
      operands.push_back(a);
    }
  }
  if (operands.size() != 2)
    return UsageError("version compare: expected FILE and A.B.C.D, got " +
                      std::to_string(operands.size()) + " argument(s)");
  PackedVersion own;
  if (!ParseDottedVersion(operands[1], &own))
    return UsageError("version compare: '" + operands[1] +
                      "' is not a version A.B.C.D with parts 0..65535");
  PublishedVersion published;
  if (!ReadVersionInfoFile(operands[0], &published)) {
    std::fprintf(stderr, "ldtool: version compare: cannot read '%s'\n", operands[0].c_str());
    return kExitFailure;
  }
  std::puts(NeedsUpdate(published, own) ? "update" : "no update");
  return kExitOk;
}

}  // namespace

LD_TOOL_COMMAND(version_compare, "version compare",
                "compare a version information file with an own version", Run);

}  // namespace ld::tool
