// The published version information file "ldstarter_verinfo.dat" and the
// comparison that decides whether the starter updates itself. Read by the
// self-update check on the main thread and by the manual installer; pure
// apart from ReadVersionInfoFile, which reads one file through the standard
// library. Nothing here throws.
//
// File form: "%d.%d.%d.%d", then optionally white space and an order word of
// at most 31 characters; "rollback" in any case orders a rollback. Anything
// after the word is ignored. Numbers that cannot be read count as 0 (reading
// stops at the first one that fails, as the C library's scanf does).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ld {

inline constexpr char kVersionInfoFileName[] = "ldstarter_verinfo.dat";
inline constexpr std::size_t kOrderWordMax = 31;
// The program-wide version text reported with remote logs holds at most this
// many characters.
inline constexpr std::size_t kVersionTextMax = 15;
// A version file is a line of text; more than this is never looked at.
inline constexpr std::size_t kVersionInfoReadLimit = 64 * 1024;

// A four-part version packed as a file version: high = a * 65536 + b,
// low = c * 65536 + d, each part taken modulo 65536.
struct PackedVersion {
  uint32_t high = 0;
  uint32_t low = 0;
};

PackedVersion PackVersion(int a, int b, int c, int d);

struct PublishedVersion {
  int parts[4] = {0, 0, 0, 0};  // as read, before the modulo
  std::string order_word;       // at most kOrderWordMax bytes, may be empty
  bool rollback = false;        // order_word is "rollback" ignoring case
  PackedVersion packed;
};

// Reads the file's text. Never fails: unreadable text gives 0.0.0.0 and no
// word.
PublishedVersion ParseVersionInfo(std::string_view text);

// Reads at most kVersionInfoReadLimit bytes of the file at path (ANSI code
// page on Windows) and parses them. False, *out untouched, when the file
// cannot be opened.
bool ReadVersionInfoFile(const std::string& path, PublishedVersion* out);

// True when the starter must fetch the published program. Without rollback:
// only a published version above the own one updates. With rollback: any
// published version different from the own one updates (a lower version is
// installed).
bool NeedsUpdate(const PublishedVersion& published, const PackedVersion& own);

// "%d.%d.%d.%d" of the parts as read, cut to kVersionTextMax characters.
std::string VersionText(const PublishedVersion& published);

// Strict "A.B.C.D" with each part 0..65535 and nothing else (operators' input,
// e.g. ldtool's own-version argument). False, *out untouched, otherwise.
bool ParseDottedVersion(std::string_view text, PackedVersion* out);

}  // namespace ld
