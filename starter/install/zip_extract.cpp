#include "starter/install/zip_extract.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "core/install/zip_entry_path.h"
#include "starter/platform/folders.h"
#include "starter/platform/win_handle.h"
#include "unzip.h"

namespace ld {
namespace {

// Owns an open unzFile (unzClose on release).
struct UnzipCloser {
  void operator()(void* zip) const {
    if (zip != nullptr) ::unzClose(zip);
  }
};
using UnzipHandle = std::unique_ptr<void, UnzipCloser>;

// How one entry came out.
enum class EntryOutcome {
  kWritten,  // file written and its times set
  kFolder,   // a folder entry: the folder was made (or already there)
  kRefused,  // unsafe name: nothing written
  kFailed,   // the entry or the output could not be opened, read or written
};

// Piece in which entry data is copied.
constexpr unsigned kZipCopyPiece = 8192;
// The path buffer of the ".zip" retry.
constexpr std::size_t kRetryPathBuffer = 512;
// Longest stored name read; a longer one is refused rather than cut.
constexpr std::size_t kStoredNameBuffer = 1024;
// unzLocateFile: compare names without regard to case.
constexpr int kIgnoreCase = 2;

FileHandle CreateOutput(const std::string& path) {
  return FileHandle(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool HasFolderPart(const std::string& stored_name) {
  return stored_name.find_first_of("/\\") != std::string::npos;
}

std::string ParentOf(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The entry's zip time (local, two-second steps) as a UTC file time.
std::optional<FILETIME> EntryFileTime(unsigned long dos_date) {
  FILETIME local, utc;
  if (!::DosDateTimeToFileTime(HIWORD(dos_date), LOWORD(dos_date), &local) ||
      !::LocalFileTimeToFileTime(&local, &utc)) {
    return std::nullopt;
  }
  return utc;
}

// Copies the open entry into `out`; false on a read or write error.
bool CopyEntryData(void* zip, HANDLE out) {
  std::vector<char> piece(kZipCopyPiece);
  for (;;) {
    const int read = ::unzReadCurrentFile(zip, piece.data(), kZipCopyPiece);
    if (read == 0) return true;
    if (read < 0) return false;
    DWORD written = 0;
    if (!::WriteFile(out, piece.data(), static_cast<DWORD>(read), &written, nullptr) ||
        written != static_cast<DWORD>(read)) {
      return false;
    }
  }
}

// Opens `zip_path` as a zip archive; when that fails, `zip_path` + ".zip"
// (only when that fits the 511 characters the starter has always allowed).
// Null when neither opens.
UnzipHandle OpenZipArchive(const std::string& zip_path) {
  UnzipHandle zip(::unzOpen(zip_path.c_str()));
  if (!zip && zip_path.size() + 4 < kRetryPathBuffer) {
    zip.reset(::unzOpen((zip_path + ".zip").c_str()));
  }
  return zip;
}

// Unpacks the current entry of `zip` to `target_folder` + "\" + its stored
// name. The output file replaces any file there; when it cannot be created
// and the name has a folder part, the missing folders are made and the open
// is tried again. After a complete copy whose CRC matches, the file's
// creation and last-write times become the entry's time (a local zip time,
// turned into UTC). A copy that ends early or fails its CRC keeps the time of
// the write, so the file check of the next run fetches it again.
EntryOutcome ExtractCurrentEntry(void* zip, const std::string& target_folder) {
  unz_file_info info;
  char stored[kStoredNameBuffer];
  if (::unzGetCurrentFileInfo(zip, &info, stored, sizeof stored, nullptr, 0, nullptr, 0) !=
      UNZ_OK) {
    return EntryOutcome::kFailed;
  }
  if (info.size_filename >= sizeof stored) return EntryOutcome::kRefused;
  const std::string name(stored, info.size_filename);
  const std::optional<std::string> output = ZipEntryOutputPath(target_folder, name);
  if (!output) return EntryOutcome::kRefused;
  if (IsFolderZipEntry(name)) {
    return CreateFolder(*output) ? EntryOutcome::kFolder : EntryOutcome::kFailed;
  }

  if (::unzOpenCurrentFile(zip) != UNZ_OK) return EntryOutcome::kFailed;
  FileHandle out = CreateOutput(*output);
  if (!out && HasFolderPart(name)) {
    CreateFolder(ParentOf(*output));
    out = CreateOutput(*output);
  }
  if (!out) {
    ::unzCloseCurrentFile(zip);
    return EntryOutcome::kFailed;
  }
  const bool copied = CopyEntryData(zip, out.Get());
  // Closing checks the CRC once the whole entry has been read.
  const bool intact = ::unzCloseCurrentFile(zip) == UNZ_OK && copied;
  if (!intact) return EntryOutcome::kFailed;
  if (std::optional<FILETIME> time = EntryFileTime(info.dosDate)) {
    ::SetFileTime(out.Get(), &*time, nullptr, &*time);
  }
  return EntryOutcome::kWritten;
}

}  // namespace

bool ExtractZipEntry(const std::string& zip_path, const std::string& file_name,
                     const std::string& target_folder) {
  UnzipHandle zip = OpenZipArchive(zip_path);
  if (!zip) return false;
  if (::unzLocateFile(zip.get(), file_name.c_str(), kIgnoreCase) != UNZ_OK) return false;
  return ExtractCurrentEntry(zip.get(), target_folder) == EntryOutcome::kWritten;
}

ArchiveResult ExtractArchive(const std::string& archive_path, const std::string& target_folder,
                             const ArchiveProgress& progress) {
  ArchiveResult result;
  UnzipHandle zip = OpenZipArchive(archive_path);
  unz_global_info global;
  if (!zip || ::unzGetGlobalInfo(zip.get(), &global) != UNZ_OK) return result;
  result.opened = true;
  result.entries = static_cast<uint32_t>(global.number_entry);

  int step = ::unzGoToFirstFile(zip.get());
  while (step == UNZ_OK) {
    const EntryOutcome outcome = ExtractCurrentEntry(zip.get(), target_folder);
    if (outcome == EntryOutcome::kFailed) {
      result.failed = true;
      return result;
    }
    if (outcome == EntryOutcome::kRefused) ++result.refused;
    ++result.done;
    if (progress && !progress(result.done, result.entries)) {
      result.stopped = true;
      return result;
    }
    step = ::unzGoToNextFile(zip.get());
  }
  // Anything but the normal end of the list is a damaged central directory.
  if (step != UNZ_END_OF_LIST_OF_FILE) result.failed = true;
  return result;
}

}  // namespace ld
