// `ldtool gamestring request`, `merge` and `handover`: what the starter sends
// to the gamestring server for a first gamestring, what it makes of the
// server's answer, and what it hands to the game. The address is taken as
// given (the starter's Windows canonicalisation is not imitated).
#include <cstdio>
#include <string>
#include <vector>

#include "core/launch/game_start_rules.h"
#include "core/launch/gamestring_request.h"
#include "tools/ldtool/command.h"

namespace ld::tool {
namespace {

const char kRequestUsage[] =
    "usage: ldtool gamestring request TEXT\n"
    "Prints \"request: ADDRESS\", the address the starter sends to the\n"
    "gamestring server for the first gamestring TEXT, then \"moved: FIELD\" for\n"
    "every pair moved into the answer (key:length=value, or the key alone).\n"
    "Without \"ludoria://\": \"error: no address\", exit 1.\n";

const char kMergeUsage[] =
    "usage: ldtool gamestring merge --first TEXT --answer TEXT\n"
    "Prints \"second: TEXT\", the server's answer after the moved pairs of the\n"
    "first gamestring's request were inserted, and \"first: TEXT\", the first\n"
    "gamestring after its ticket (k300e) was taken from the answer, as on the\n"
    "first request of a run (\"&clk2=1\" added).\n";

const char kHandoverUsage[] =
    "usage: ldtool gamestring handover TEXT\n"
    "Prints the launch string the game receives for the second gamestring TEXT\n"
    "(everything behind the first \"ludoria://\"). Without it: \"error: no\n"
    "prefix\", exit 1.\n";

bool IsHelp(const std::vector<std::string>& args) {
  return !args.empty() && (args[0] == "--help" || args[0] == "-h");
}

// Exactly one TEXT, "--" allowed before it.
bool OneText(const std::vector<std::string>& args, std::string* text) {
  std::vector<std::string> rest(args);
  if (!rest.empty() && rest[0] == "--") rest.erase(rest.begin());
  if (rest.size() != 1) return false;
  *text = rest[0];
  return true;
}

int RunRequest(const std::vector<std::string>& args) {
  if (IsHelp(args)) return std::fputs(kRequestUsage, stdout), kExitOk;
  std::string text;
  if (!OneText(args, &text)) return UsageError("gamestring request: expected one TEXT");
  std::string address;
  if (!GamestringServerAddress(text, &address)) {
    std::puts("error: no address");
    return kExitFailure;
  }
  const GamestringRequest request = BuildGamestringRequest(address);
  std::printf("request: %s\n", request.address.c_str());
  for (const std::string& field : request.moved_fields) std::printf("moved: %s\n", field.c_str());
  return kExitOk;
}

int RunMerge(const std::vector<std::string>& args) {
  if (IsHelp(args)) return std::fputs(kMergeUsage, stdout), kExitOk;
  std::string first;
  std::string answer;
  bool have_first = false;
  bool have_answer = false;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) return UsageError("gamestring merge: " + args[i] + " needs a value");
    if (args[i] == "--first") {
      first = args[i + 1];
      have_first = true;
    } else if (args[i] == "--answer") {
      answer = args[i + 1];
      have_answer = true;
    } else {
      return UsageError("gamestring merge: unknown option " + args[i]);
    }
  }
  if (!have_first || !have_answer)
    return UsageError("gamestring merge: --first TEXT and --answer TEXT are required");
  std::string address;
  if (GamestringServerAddress(first, &address)) {
    const GamestringRequest request = BuildGamestringRequest(address);
    if (request.removed_pairs > 0) InsertMovedFields(&answer, request.moved_fields);
  }
  bool clk2_pending = true;
  ResynchroniseTicket(&first, answer, &clk2_pending);
  std::printf("second: %s\nfirst: %s\n", answer.c_str(), first.c_str());
  return kExitOk;
}

int RunHandover(const std::vector<std::string>& args) {
  if (IsHelp(args)) return std::fputs(kHandoverUsage, stdout), kExitOk;
  std::string text;
  if (!OneText(args, &text)) return UsageError("gamestring handover: expected one TEXT");
  std::string third;
  if (!HandoverText(text, &third)) {
    std::puts("error: no prefix");
    return kExitFailure;
  }
  std::printf("%s\n", third.c_str());
  return kExitOk;
}

}  // namespace

LD_TOOL_COMMAND(gamestring_request, "gamestring request",
                "the gamestring server request of a first gamestring", RunRequest);
LD_TOOL_COMMAND(gamestring_merge, "gamestring merge",
                "a server answer with the moved pairs, and the re-synchronised ticket", RunMerge);
LD_TOOL_COMMAND(gamestring_handover, "gamestring handover",
                "the launch string a game receives from a second gamestring", RunHandover);

}  // namespace ld::tool
