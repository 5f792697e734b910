// The start-up command words that switch kind mode for support: "bekind"
// creates the marker "_kind_.txt" beside the program, "nokind" removes it.
// Each tells its outcome in a support box. Main thread, before any window.
#pragma once

#include <string>

namespace ld {

// True when the marker exists afterwards.
bool RunBeKind(const std::string& program_folder);

// True when the marker is gone afterwards.
bool RunNoKind(const std::string& program_folder, bool kind_mode);

}  // namespace ld
