// Decisions of the start-up taken from the command line before and while the
// installation window comes up: the command words, the launch string behind
// the program path, the clone marker, the age class and the session id.
// Pure; main thread (nothing here is shared).
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>

namespace ld {

// A tail this long or longer is a launch string, never a command.
inline constexpr std::size_t kCommandTailLimit = 300;
inline constexpr std::string_view kCloneMarker = "/clone ";
inline constexpr char kNilGuid[] = "00000000-0000-0000-0000-000000000000";

// The words behind "/" in `tail` (only behind the first "ludoria://" when
// there is one), duplicates collapsed. Empty for a tail of kCommandTailLimit
// characters or more.
std::set<std::string> CommandWords(std::string_view tail);

// What the words ask for. "bekind" and "nokind" act only alone; `any` is set
// when one of the five known words was given, even one that does nothing, and
// then the program ends after the commands.
struct CommandPlan {
  bool be_kind = false;
  bool no_kind = false;
  bool open_korean = false;
  bool open_ludoria = false;
  bool any = false;
};
CommandPlan PlanCommands(const std::set<std::string>& words);

// The run is a clone of a freshly downloaded starter.
inline bool IsCloneRun(std::string_view command_line) {
  return command_line.find(kCloneMarker) != std::string_view::npos;
}

// The launch string of the whole command line: what follows the first ".exe"
// and one more character (closing quote or blank), and of that only what
// follows "/clone " when present. False without ".exe".
bool LaunchStringOfCommandLine(std::string_view command_line, std::string* launch_string);

// 2 or 1 for the two games with an age limit ("k22e=" equal to "STONEBAN" or
// "GENERALS"): 2 without "ag=", else 2 below 18 and 1 from 18; 0 otherwise.
int AgeClass(std::string_view gamestring);

// Appends "&k410e=<guid>" when the gamestring holds no "k410e=" (an empty
// guid stands for kNilGuid). True when something was appended.
bool AppendSessionId(std::string* gamestring, std::string_view guid);

// Member id as the start-up reports it: the first 42 characters.
inline constexpr std::size_t kStartupMemberIdMax = 42;

}  // namespace ld
