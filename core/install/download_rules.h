// Small rules of the downloader that need no system: the read-piece size of
// a package zip, bounded log texts and the choice of the update-list failure
// message. Pure functions; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ld {

// Read piece for a single-file download when the caller passes 0.
inline constexpr uint32_t kDefaultDownloadBuffer = 10240;
// Largest read piece of a package zip.
inline constexpr uint32_t kLargestPackagePiece = 40 * 1024;

// Read piece of a package zip of `expected_size` bytes: whole kilobytes just
// above the size, at most 40 KB (5000 bytes give 5120, 100 KB give 40960).
uint32_t PackageDownloadBufferSize(uint32_t expected_size);

// Field every remote-log text of the downloader is formatted into; longer
// texts are cut to kLogTextField - 1 characters.
inline constexpr std::size_t kLogTextField = 200;

// printf-style formatting into a field of `field` bytes: the result holds at
// most field - 1 characters. An invalid format gives "".
std::string BoundedFormat(std::size_t field, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Which text tells the user that an update list could not be fetched:
// "cannot download" (string 177) when the target file is not there or the
// download went to the list's own path (the old list was out of the way),
// else "downloaded but no local file" (string 178: the old list could not be
// deleted and a temporary file stood in).
enum class UpdateListFailure { kDownload, kLocalFile };
UpdateListFailure ClassifyUpdateListFailure(bool target_exists, bool at_own_path);

// Whether a transfer that read `received` bytes to its end delivered the
// whole answer: a server that announced a length (`announced`, when
// `has_length`) and closed the connection earlier sent a cut answer, which
// the system's reader reports as a normal end.
bool TransferComplete(bool has_length, uint64_t announced, uint64_t received);

// The failure text: `base` as it stands, and in kind mode "\n( ", `detail`
// and " )" appended (the local target for the local-file case, the remote
// address for the download case, chosen by the caller).
std::string UpdateListFailureText(const std::string& base, bool kind_mode,
                                  const std::string& detail);

// "%s/newhul/%s.hul" and "%s/newhul/gamekind.ini" under the update-list
// address of the launch string.
std::string UpdateListAddress(const std::string& hul_root, const std::string& package);
std::string CatalogueAddress(const std::string& hul_root);

}  // namespace ld
