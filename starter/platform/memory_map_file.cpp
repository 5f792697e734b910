#include "starter/platform/memory_map_file.h"

#include "core/base/checksum.h"

namespace ld {

cMemoryMapFile::~cMemoryMapFile() { Close(); }

bool cMemoryMapFile::Open(const std::string& name, DWORD mode) {
  Close();
  if (name.empty() || name.size() > kMaxName) return false;
  const bool writable = mode == kWrite || mode == kReadWrite;
  const DWORD access = writable ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  file_.Reset(::CreateFileA(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, file_flags, nullptr));
  if (!file_) return Close(), false;

  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file_.Get(), &size) || size.QuadPart <= 0 ||
      size.QuadPart > static_cast<LONGLONG>(UINT32_MAX)) {
    return Close(), false;
  }
  mapping_.Reset(::CreateFileMappingA(file_.Get(), nullptr,
                                      writable ? PAGE_READWRITE : PAGE_READONLY, 0, 0, nullptr));
  if (!mapping_) return Close(), false;
  view_ = MappedView(
      ::MapViewOfFile(mapping_.Get(), writable ? FILE_MAP_WRITE : FILE_MAP_READ, 0, 0, 0));
  if (!view_) return Close(), false;
  name_ = name;
  size_ = static_cast<uint32_t>(size.QuadPart);
  return true;
}

void cMemoryMapFile::Close() {
  view_.Reset();
  mapping_.Reset();
  file_.Reset();
  name_.clear();
  size_ = 0;
}

uint32_t MappedFileChecksum(const std::string& path) {
  cMemoryMapFile file;
  if (!file.Open(path, cMemoryMapFile::kRead)) return 0;
  return ByteSum(file.data(), file.size());
}

}  // namespace ld
