// The checks an install folder typed by the user must pass before the
// installation starts. Pure rules over a small view of the file system, so
// the window (starter/ui) passes the real one and tests a scripted one.
//
// Paths are ANSI byte strings with "\" separators. Code page 949 trail bytes
// never equal "\" or ":", so byte-wise scanning is safe for Korean names.
#pragma once

#include <string>

namespace ld {

// What the check needs to know and do. Called on the caller's thread only.
class PathFacts {
 public:
  enum class Kind { kMissing, kFolder, kFile };
  virtual ~PathFacts() = default;
  // `drive` is a letter and a colon ("C:").
  virtual bool DriveExists(const std::string& drive) = 0;
  virtual Kind KindOf(const std::string& path) = 0;
  // Creates one folder whose parent exists. False when it could not.
  virtual bool MakeFolder(const std::string& path) = 0;
  virtual void RemoveFolder(const std::string& path) = 0;
};

// Removes trailing backslashes, keeping at least one character ("\\" stays
// "\", "C:\" becomes "C:").
std::string TrimTrailingBackslashes(std::string path);

// True when `path` begins, without regard to ASCII case, with a non-empty
// `windows_folder` or `program_files_folder` (as the system names them).
bool IsUnderSystemFolder(const std::string& path, const std::string& windows_folder,
                         const std::string& program_files_folder);

// An absolute path on an existing drive ("X:" or "X:\..."), whose every
// folder exists or can be made. Folders are made as the check goes; when it
// fails, the folders it made are removed again, last made first, so a refused
// path leaves nothing behind. Folders of a passing path stay.
bool CheckInstallPath(const std::string& path, PathFacts& facts);

}  // namespace ld
