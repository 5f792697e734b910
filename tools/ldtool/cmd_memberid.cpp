// ldtool memberid scramble|unscramble TEXT: the portal's member-id scrambling
// with the table compiled into this build, so a loopback portal can hand the
// starter ids it will unscramble, and operators can read ids from step logs.
#include <cstdio>
#include <string>
#include <vector>

#include "core/launch/member_id.h"
#include "tools/ldtool/command.h"

namespace ld::tool {
namespace {

int Scramble(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--help") {
    std::printf(
        "usage: ldtool memberid scramble TEXT\n"
        "Prints the scrambled form (upper-case hex with a check byte) of TEXT.\n");
    return kExitOk;
  }
  if (args.size() != 1) return UsageError("memberid scramble takes one TEXT");
  if (args[0].empty()) return UsageError("memberid scramble: TEXT is empty");
  std::printf("%s\n", ScrambleMemberId(args[0]).c_str());
  return kExitOk;
}

int Unscramble(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--help") {
    std::printf(
        "usage: ldtool memberid unscramble HEX\n"
        "Prints the plain member id; fails (exit 1) when HEX is no scrambled id.\n");
    return kExitOk;
  }
  if (args.size() != 1) return UsageError("memberid unscramble takes one HEX");
  const std::string plain = UnscrambleMemberId(args[0]);
  if (plain.empty()) {
    std::fprintf(stderr, "ldtool: not a scrambled member id (length, digits or check byte)\n");
    return kExitFailure;
  }
  std::fwrite(plain.data(), 1, plain.size(), stdout);
  std::fputc('\n', stdout);
  return kExitOk;
}

}  // namespace

LD_TOOL_COMMAND(memberid_scramble, "memberid scramble", "scramble a member id as the portal does",
                Scramble);
LD_TOOL_COMMAND(memberid_unscramble, "memberid unscramble",
                "unscramble a member id from a launch string", Unscramble);

}  // namespace ld::tool
