#include "core/install/download_rules.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace ld {

uint32_t PackageDownloadBufferSize(uint32_t expected_size) {
  const uint32_t kilobytes = std::min<uint32_t>(expected_size / 1024 + 1, 40);
  return kilobytes * 1024;
}

std::string BoundedFormat(std::size_t field, const char* format, ...) {
  if (field == 0 || format == nullptr) return std::string();
  std::vector<char> buffer(field);
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(buffer.data(), buffer.size(), format, args);
  va_end(args);
  if (length < 0) return std::string();
  const std::size_t kept = std::min<std::size_t>(static_cast<std::size_t>(length), field - 1);
  return std::string(buffer.data(), kept);
}

UpdateListFailure ClassifyUpdateListFailure(bool target_exists, bool at_own_path) {
  return !target_exists || at_own_path ? UpdateListFailure::kDownload
                                       : UpdateListFailure::kLocalFile;
}

bool TransferComplete(bool has_length, uint64_t announced, uint64_t received) {
  return !has_length || received >= announced;
}

std::string UpdateListFailureText(const std::string& base, bool kind_mode,
                                  const std::string& detail) {
  if (!kind_mode) return base;
  return base + "\n( " + detail + " )";
}

std::string UpdateListAddress(const std::string& hul_root, const std::string& package) {
  return hul_root + "/newhul/" + package + ".hul";
}

std::string CatalogueAddress(const std::string& hul_root) {
  return hul_root + "/newhul/gamekind.ini";
}

}  // namespace ld
