// What the start-up reads beside the program: the options file
// "ldstarter.ini" and the kind-mode marker "_kind_.txt".
//
// Main thread only, once at start-up (the application object keeps the
// result, read-only afterwards). Reading never fails: a missing file, section
// or key gives the defaults.
#pragma once

#include <string>

#include "core/report/report_hosts.h"
#include "core/settings/server_hosts.h"
#include "core/settings/plum_hosts.h"

namespace ld {

inline constexpr char kOptionsFileName[] = "ldstarter.ini";
inline constexpr char kKindMarkerFileName[] = "_kind_.txt";

// DefaultInstallDir holds at most 1023 characters.
inline constexpr std::size_t kDefaultInstallDirBufferSize = 1024;

struct StarterOptions {
  std::string program_folder;        // up to and including the last backslash
  std::string options_path;          // program_folder + "ldstarter.ini"
  int show_gamestring_in_alpha = 0;  // [check] ShowGamestringInAlpha
  int strong = 0;                    // [check] strong
  std::string default_install_dir;   // [private] DefaultInstallDir
  ServerHosts hosts;                 // [servers], over the compiled-in defaults
  ReportHosts report_hosts;          // [servers] reporting hosts
  PlumHosts plum_hosts;              // [servers] identifier and token servers
  bool kind_marker = false;          // "_kind_.txt" beside the program, as a file

  // Kind mode: the marker file, or else [check] strong nonzero.
  bool KindMode() const { return kind_marker || strong != 0; }
};

// The folder part of a program path: everything up to and including the last
// backslash ("" when there is none).
std::string ProgramFolderOf(const std::string& program_path);

// Full path of the running program (GetModuleFileNameA of the main image).
std::string ProgramPath();

// Reads the options file and the marker in `program_folder` (which ends with
// a backslash). Text is in the ANSI code page, as the profile functions give it.
StarterOptions ReadStarterOptions(const std::string& program_folder);

}  // namespace ld
