// Helpers of the package tests: zips written by the test itself, and file
// sizes and times as the installer sees them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/win/support/win_test_support.h"
#include "zip.h"

namespace ld::test {

struct ZipEntrySpec {
  std::string name;
  std::string content;
  // Local date-time of the entry (zip times have two-second steps).
  int year = 2009, month = 6, day = 15, hour = 13, minute = 45, second = 58;
  bool stored = false;  // no compression, so the data can be found in the file
};

// Writes a zip of `entries` in order; false when minizip fails.
inline bool WriteZip(const std::string& path, const std::vector<ZipEntrySpec>& entries) {
  zipFile zip = ::zipOpen(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return false;
  bool ok = true;
  for (const ZipEntrySpec& e : entries) {
    zip_fileinfo info = {};
    info.tmz_date = {static_cast<unsigned>(e.second),    static_cast<unsigned>(e.minute),
                     static_cast<unsigned>(e.hour),      static_cast<unsigned>(e.day),
                     static_cast<unsigned>(e.month - 1), static_cast<unsigned>(e.year)};
    ok = ok && ::zipOpenNewFileInZip(zip, e.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                     e.stored ? 0 : Z_DEFLATED,
                                     e.stored ? 0 : Z_DEFAULT_COMPRESSION) == ZIP_OK;
    ok = ok && (e.content.empty() ||
                ::zipWriteInFileInZip(zip, e.content.data(),
                                      static_cast<unsigned>(e.content.size())) == ZIP_OK);
    ok = ok && ::zipCloseFileInZip(zip) == ZIP_OK;
  }
  return ::zipClose(zip, nullptr) == ZIP_OK && ok;
}

// Size and last-write time of a file as the installer sees them; size -1
// when there is no file.
struct FileFacts {
  int64_t size = -1;
  SYSTEMTIME local_write = {};  // the local date-time Windows shows
};

inline FileFacts FactsOf(const std::string& path) {
  FileFacts facts;
  WIN32_FILE_ATTRIBUTE_DATA data;
  FILETIME local;
  if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    facts.size = data.nFileSizeLow;
    ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    ::FileTimeToSystemTime(&local, &facts.local_write);
  }
  return facts;
}

// Sets a file's last-write time to a local date-time on 2021-04-05.
inline bool SetLocalWriteTime(const std::string& path, int hour, int minute, int second) {
  SYSTEMTIME broken = {
      2021, 4, 0, 5, static_cast<WORD>(hour), static_cast<WORD>(minute), static_cast<WORD>(second),
      0};
  FILETIME local, utc;
  HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  const bool ok = ::SystemTimeToFileTime(&broken, &local) &&
                  ::LocalFileTimeToFileTime(&local, &utc) &&
                  ::SetFileTime(file, nullptr, nullptr, &utc) != FALSE;
  ::CloseHandle(file);
  return ok;
}

}  // namespace ld::test
