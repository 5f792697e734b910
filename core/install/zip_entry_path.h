// Where an entry of a downloaded zip may be written.
//
// A zip names its entries itself, and the installer unpacks whatever the
// download server hands out (package zips and whole setup archives). An entry
// name that is absolute or climbs out of the folder it is unpacked into would
// let a damaged or hostile archive overwrite any file the user can write, so
// such names are refused here and the caller writes nothing for them.
//
// Pure text rules; any thread. Paths are ANSI byte strings; the result uses
// "\" separators whatever the zip used.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ld {

// True when `stored_name` stays below the folder it is unpacked into: not
// empty; no leading "/" or "\" (root of the drive, or a UNC or device path);
// no ":" anywhere (a drive letter, or a stream of another file); no control
// character; and no path element made only of dots and blanks other than "."
// itself ("..", and the "... " forms Windows trims down to "..").
bool IsSafeZipEntryName(std::string_view stored_name);

// True when the entry only names a folder (its name ends in "/" or "\").
bool IsFolderZipEntry(std::string_view stored_name);

// `target_folder` + "\" + `stored_name` with every "/" turned into "\" (no
// second "\" when the folder already ends in one; a folder entry loses its
// trailing separator). Nothing when the name is not safe.
std::optional<std::string> ZipEntryOutputPath(std::string_view target_folder,
                                              std::string_view stored_name);

}  // namespace ld
