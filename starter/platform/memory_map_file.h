// Read-only (or read-write) views of whole files, and the byte sum of a file
// taken through such a view.
//
// cMemoryMapFile belongs to whoever creates it; one object is used by one
// thread at a time. The checksum helper may run on any thread (the driver
// during the file check and verification, the game start before launching).
// Failures are false (Open) or a checksum of 0, never exceptions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "starter/platform/win_handle.h"

namespace ld {

class cMemoryMapFile {
 public:
  // Open modes.
  static constexpr DWORD kRead = 1;
  static constexpr DWORD kWrite = 16;
  static constexpr DWORD kReadWrite = 256;
  // Longest file name kept (MAX_PATH less its terminator).
  static constexpr std::size_t kMaxName = 259;

  cMemoryMapFile() = default;
  virtual ~cMemoryMapFile();
  cMemoryMapFile(const cMemoryMapFile&) = delete;
  cMemoryMapFile& operator=(const cMemoryMapFile&) = delete;

  // Opens an existing file (shared for reading and writing) in `mode`, maps
  // all of it and keeps the view. A view needs read access, so the write
  // mode opens for reading too. False, with everything opened so far closed,
  // when the name is too long, the file cannot be opened, is empty (the
  // system maps no empty file) or larger than 4 GiB less one byte, or cannot
  // be mapped. An open object is closed first.
  bool Open(const std::string& name, DWORD mode);

  // Unmaps the view and closes both handles; safe to repeat.
  void Close();

  bool is_open() const { return static_cast<bool>(view_); }
  const std::string& name() const { return name_; }
  uint32_t size() const { return size_; }
  const void* data() const { return view_.Get(); }
  void* mutable_data() { return view_.Get(); }

  // Attributes and flags CreateFileA gets; normal with random access unless
  // changed before Open.
  DWORD file_flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS;

 private:
  std::string name_;
  uint32_t size_ = 0;
  FileHandle file_;
  KernelHandle mapping_;
  MappedView view_;
};

// Unsigned 32-bit sum of all bytes of the file at `path` through a read-only
// mapping; 0 when it cannot be opened or mapped (an empty file among them).
uint32_t MappedFileChecksum(const std::string& path);

}  // namespace ld
