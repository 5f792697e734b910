#include "core/file_decision.h"

namespace ld {
namespace {

bool EqualsNoCase(std::string_view a, const char* lower) {
  std::size_t i = 0;
  for (; i < a.size() && lower[i] != '\0'; ++i) {
    char c = a[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return i == a.size() && lower[i] == '\0';
}

}  // namespace

bool IsProgramFile(std::string_view path) {
  constexpr std::size_t kMaxExtension = 31;
  std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string_view ext = path.substr(dot + 1);
  if (ext.size() > kMaxExtension) return false;
  return EqualsNoCase(ext, "exe") || EqualsNoCase(ext, "dll");
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
