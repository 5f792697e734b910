#include "core/install/file_decision.h"

#include "core/base/ascii.h"

namespace ld {

bool IsProgramFile(std::string_view path) {
  constexpr std::size_t kMaxExtension = 31;
  std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string_view ext = path.substr(dot + 1);
  if (ext.size() > kMaxExtension) return false;
  return EqualsIgnoreAsciiCase(ext, "exe") || EqualsIgnoreAsciiCase(ext, "dll");
}

bool SameLocalMinute(TimeValue a, TimeValue b) {
  BrokenDownTime ta, tb;
  if (!BreakDownLocalTime(a, &ta) || !BreakDownLocalTime(b, &tb)) return false;
  return SameMinute(ta, tb);
}

uint32_t DecideNeedsUpdate(const LocalFileFacts& facts, const ExpectedFile& expected,
                           std::string_view local_path, const ChecksumFn& checksum) {
  if (!facts.exists) return kFileMissing;
  if (facts.size != expected.size) return kSizeDiffers;
  if (!SameLocalMinute(facts.last_write_time, expected.time)) return kTimeDiffers;
  if (IsProgramFile(local_path)) {
    // Without a way to measure the file it cannot be shown to match.
    if (!checksum || checksum() != expected.checksum) return kChecksumDiffers;
  }
  return kUpToDate;
}

}  // namespace ld
