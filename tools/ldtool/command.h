// Subcommands of ldtool register themselves here, so each lives in a file of
// its own and main.cpp never changes when one is added.
#pragma once

#include <string>
#include <vector>

namespace ld::tool {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the input was read and found wanting
inline constexpr int kExitUsage = 2;    // bad arguments

// args excludes the program name and the command word itself.
using CommandFn = int (*)(const std::vector<std::string>& args);

struct Command {
  const char* name;     // one or two words, e.g. "publish" or "gamestring dump"
  const char* summary;  // one line for `ldtool --help`
  CommandFn run;
};

// Called from static initialisers; keeps commands sorted by name.
bool RegisterCommand(const Command& command);
const std::vector<Command>& Commands();

// Prints "ldtool: <message>" and a hint to stderr; returns kExitUsage.
int UsageError(const std::string& message);

}  // namespace ld::tool

// Registers a command from its own .cpp file.
#define LD_TOOL_COMMAND(ident, name, summary, fn) \
  static const bool ld_tool_registered_##ident = ::ld::tool::RegisterCommand({name, summary, fn})
