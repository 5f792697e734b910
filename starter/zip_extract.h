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
// nothing (core/zip_entry_path.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "unzip.h"

namespace ld {

// Owns an open unzFile (unzClose on release).
struct UnzipCloser {
  void operator()(void* zip) const {
    if (zip != nullptr) ::unzClose(zip);
  }
};
using UnzipHandle = std::unique_ptr<void, UnzipCloser>;

// Opens `zip_path` as a zip archive; when that fails, `zip_path` + ".zip"
// (only when that fits the 511 characters the starter has always allowed).
// Null when neither opens.
UnzipHandle OpenZipArchive(const std::string& zip_path);

// How one entry came out.
enum class EntryOutcome {
  kWritten,  // file written and its times set
  kFolder,   // a folder entry: the folder was made (or already there)
  kRefused,  // unsafe name: nothing written
  kFailed,   // the entry or the output could not be opened, read or written
};

// Piece in which entry data is copied.
inline constexpr unsigned kZipCopyPiece = 8192;

// Unpacks the current entry of `zip` to `target_folder` + "\" + its stored
// name. The output file replaces any file there; when it cannot be created
// and the name has a folder part, the missing folders are made and the open
// is tried again. The data is copied in pieces of kZipCopyPiece bytes; after
// a complete copy whose CRC matches, the file's creation and last-write times
// become the entry's time (a local zip time, turned into UTC). A copy that
// ends early or fails its CRC keeps the time of the write, so the file check
// of the next run fetches it again.
EntryOutcome ExtractCurrentEntry(void* zip, const std::string& target_folder);

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
