// ldtool: inspect launch strings, update lists and catalogues; publish a game
// folder as a download-server tree; serve it on loopback.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/ldtool/command.h"

namespace ld::tool {
namespace {
std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

void PrintHelp(FILE* out) {
  std::fprintf(out,
               "usage: ldtool COMMAND [ARGS...]\n"
               "       ldtool COMMAND --help\n\ncommands:\n");
  for (const Command& c : Commands()) std::fprintf(out, "  %-22s %s\n", c.name, c.summary);
}
}  // namespace

bool RegisterCommand(const Command& command) {
  auto& r = Registry();
  auto at = std::lower_bound(r.begin(), r.end(), command, [](const Command& a, const Command& b) {
    return std::strcmp(a.name, b.name) < 0;
  });
  r.insert(at, command);
  return true;
}

const std::vector<Command>& Commands() { return Registry(); }

int UsageError(const std::string& message) {
  std::fprintf(stderr, "ldtool: %s\n(see 'ldtool --help')\n", message.c_str());
  return kExitUsage;
}

}  // namespace ld::tool

int main(int argc, char** argv) {
  using namespace ld::tool;
  if (argc < 2) {
    PrintHelp(stderr);
    return kExitUsage;
  }
  std::string word = argv[1];
  if (word == "--help" || word == "-h" || word == "help") {
    PrintHelp(stdout);
    return kExitOk;
  }
  // A command's name may be two words ("gamestring dump"); the longer match
  // wins so a group word and its subcommands can both be registered.
  std::string two = argc > 2 ? word + " " + argv[2] : std::string();
  for (const Command& c : Commands()) {
    if (!two.empty() && two == c.name)
      return c.run(std::vector<std::string>(argv + 3, argv + argc));
  }
  for (const Command& c : Commands()) {
    if (word == c.name) return c.run(std::vector<std::string>(argv + 2, argv + argc));
  }
  // A group word alone, or with --help: list its subcommands.
  bool group = false;
  for (const Command& c : Commands()) {
    if (std::strncmp(c.name, (word + " ").c_str(), word.size() + 1) == 0) {
      if (!group)
        std::printf("usage: ldtool %s SUBCOMMAND [ARGS...]\n\nsubcommands:\n", word.c_str());
      group = true;
      std::printf("  %-22s %s\n", c.name, c.summary);
    }
  }
  if (group) return (argc > 2 && std::strcmp(argv[2], "--help") == 0) ? kExitOk : kExitUsage;
  return UsageError("unknown command '" + word + "'");
}
