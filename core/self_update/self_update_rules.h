// The texts the self-update check builds from the command line and its own
// path: the program's file name and the clone's arguments. Pure; main thread.
#pragma once

#include <string>
#include <string_view>

namespace ld {

// Results of the self-update check. Every value but kSelfUpdateCloneStarted
// lets the run go on with the running program.
enum SelfUpdateResult : int {
  kSelfUpdateCloneStarted = 0,
  kSelfUpdateNotNeeded = 1,
  kSelfUpdateNoOwnPath = -1,
  kSelfUpdateNoFolder = -2,
  kSelfUpdateNoOwnVersion = -3,
  kSelfUpdateNoVersionFile = -4,
  kSelfUpdateVersionFileUnreadable = -5,
  kSelfUpdateNoSession = -6,
  kSelfUpdateNoProgram = -7,
  kSelfUpdateNoAddress = -8,
  kSelfUpdateCloneNotStarted = -9,
};

inline constexpr char kSelfUpdateLockName[] = "LD_LUDSTART_SELFUPDATE";
inline constexpr char kSelfUpdateAgent[] = "LDSTART_SELFUPDATE";

// The part of `path` after its last backslash, lower-cased. False when the
// path has no backslash or nothing follows it.
bool ProgramFileName(std::string_view path, std::string* name);

// "/clone " followed by the command line from its first "ludoria://" on.
// False when the command line has no such address.
bool CloneArguments(std::string_view command_line, std::string* arguments);

}  // namespace ld
