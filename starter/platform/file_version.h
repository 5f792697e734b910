// Versions of files and system libraries. Any thread; no state. Failures are
// "not found" / 0 answers.
#pragma once

#include <cstdint>
#include <string>

namespace ld {

struct FileVersion {
  bool found = false;
  std::uint32_t high = 0;  // major << 16 | minor
  std::uint32_t low = 0;   // build << 16 | revision
};

// The file version of the version resource's root block; found is false when
// the file is missing or has no version resource.
FileVersion ReadFileVersion(const std::string& path);

// major * 65536 + minor from the library's DllGetVersion export ("Shlwapi.dll",
// "Shell32.dll", "Comctl32.dll"); 0 when the library cannot be loaded, has no
// such export, or the call fails.
std::uint32_t LibraryVersion(const char* library);

}  // namespace ld
