// Unpacking of downloaded zips: one named entry of a package file's zip into
// its target folder, or every entry of a setup archive.
//
// Threads: ExtractZipEntry runs on the download workers (two at once, each on
// its own zip and target file); ExtractArchive on the installation driver
// thread. Nothing is shared between calls.
//
// Failures are not reported to the user or the remote log: the verification
// that follows a download finds a missing or wrong file. An entry whose name
// is absolute or climbs out of the target folder is refused and writes
// nothing (core/install/zip_entry_path.h).
//
// An unpacked file replaces any file there, with the missing folders of its
// stored path made. After a complete copy whose CRC matches, its creation and
// last-write times become the entry's; otherwise it keeps the time of the
// write, so the next file check fetches it again. A zip path that does not
// open is tried once more with ".zip" appended.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace ld {

// Unpacks the entry named `file_name` (ASCII case ignored; shorter than 256
// characters) of the zip at `zip_path` into `target_folder`. False when the
// zip cannot be opened, the entry is missing or refused, or the copy failed.
bool ExtractZipEntry(const std::string& zip_path, const std::string& file_name,
                     const std::string& target_folder);

// Called after each entry of an archive with the entries done and the entry
// count; returning false stops the unpacking.
using ArchiveProgress = std::function<bool(uint32_t done, uint32_t count)>;

struct ArchiveResult {
  bool opened = false;   // the archive could be opened and read
  uint32_t entries = 0;  // entry count of the archive
  uint32_t done = 0;     // entries handled (refused ones included)
  uint32_t refused = 0;  // entries skipped for an unsafe name
  bool stopped = false;  // the progress callback asked to stop
  bool failed = false;   // an entry failed; the rest were not unpacked
};

// Unpacks every entry of the archive at `archive_path` (or + ".zip") into
// `target_folder`, in archive order. A refused entry is skipped and the
// unpacking goes on; a failed one ends it.
ArchiveResult ExtractArchive(const std::string& archive_path, const std::string& target_folder,
                             const ArchiveProgress& progress);

}  // namespace ld
