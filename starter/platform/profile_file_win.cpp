#include "starter/platform/profile_file_win.h"

#include <windows.h>

#include <climits>

namespace ld {
namespace {
// The section reader doubles its buffer until the whole section fits; this
// bounds it so a hostile file cannot make it grow without end.
constexpr DWORD kMaxSectionBuffer = 16u * 1024u * 1024u;
}  // namespace

WinProfileFile::WinProfileFile(const std::string& path) : path_(path) {
  if (path.empty()) return;
  DWORD need = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (need == 0) return;
  std::string full(need, '\0');
  DWORD got = GetFullPathNameA(path.c_str(), need, &full[0], nullptr);
  if (got == 0 || got >= need) return;
  full.resize(got);
  path_ = full;
}

std::string WinProfileFile::GetString(const std::string& section, const std::string& key,
                                      const std::string& def_value, std::size_t buffer_size) const {
  if (buffer_size == 0) return std::string();
  if (buffer_size > UINT_MAX / 2) buffer_size = UINT_MAX / 2;
  std::string buffer(buffer_size, '\0');
  DWORD got = GetPrivateProfileStringA(section.c_str(), key.c_str(), def_value.c_str(), &buffer[0],
                                       static_cast<DWORD>(buffer_size), path_.c_str());
  if (got >= buffer_size) got = static_cast<DWORD>(buffer_size - 1);
  buffer.resize(got);
  return buffer;
}

int WinProfileFile::GetInt(const std::string& section, const std::string& key,
                           int def_value) const {
  return static_cast<int>(
      GetPrivateProfileIntA(section.c_str(), key.c_str(), def_value, path_.c_str()));
}

std::vector<std::string> WinProfileFile::GetSection(const std::string& section) const {
  std::vector<std::string> lines;
  for (DWORD size = 4096; size <= kMaxSectionBuffer; size *= 2) {
    std::string buffer(size, '\0');
    DWORD got = GetPrivateProfileSectionA(section.c_str(), &buffer[0], size, path_.c_str());
    // size - 2 is the system's way of saying the section did not fit.
    if (got == size - 2 && size < kMaxSectionBuffer) continue;
    std::size_t at = 0;
    while (at < got && buffer[at] != '\0') {
      std::size_t end = buffer.find('\0', at);
      if (end == std::string::npos || end > got) end = got;
      lines.push_back(buffer.substr(at, end - at));
      at = end + 1;
    }
    break;
  }
  return lines;
}

}  // namespace ld
