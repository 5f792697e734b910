// Helpers of the package installation tests: zips written by the test
// itself, file facts as the installer sees them, and packages published by
// the native `ldtool publish` into the tree the loopback portal serves.
//
// The portal (tests/win/with_portal.sh) serves LD_TEST_PORTAL_ROOT, and each
// package's work folder sits beside it. The native ldtool is the one the build
// names in its cache (LD_NATIVE_LDTOOL), or LD_TEST_LDTOOL when set. Wine
// starts Unix programs but does not wait for them, so a native command writes
// its exit status to a file that the test polls.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "core/base/checksum.h"
#include "core/update_list/update_list_parser.h"
#include "starter/platform/file_time_value.h"
#include "tests/win/support/portal_support.h"
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
    info.tmz_date.tm_year = e.year;
    info.tmz_date.tm_mon = e.month - 1;
    info.tmz_date.tm_mday = e.day;
    info.tmz_date.tm_hour = e.hour;
    info.tmz_date.tm_min = e.minute;
    info.tmz_date.tm_sec = e.second;
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

inline bool WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out);
}

struct FileFacts {
  bool exists = false;
  uint32_t size = 0;
  FILETIME creation = {};
  FILETIME last_write = {};
};

inline FileFacts FactsOf(const std::string& path) {
  FileFacts facts;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    facts.exists = true;
    facts.size = data.nFileSizeLow;
    facts.creation = data.ftCreationTime;
    facts.last_write = data.ftLastWriteTime;
  }
  return facts;
}

// The file time as the local date-time Windows shows.
inline SYSTEMTIME LocalTimeOf(const FILETIME& time) {
  FILETIME local;
  SYSTEMTIME broken = {};
  ::FileTimeToLocalFileTime(&time, &local);
  ::FileTimeToSystemTime(&local, &broken);
  return broken;
}

// Sets a file's last-write time to a local date-time.
inline bool SetLocalWriteTime(const std::string& path, int year, int month, int day, int hour,
                              int minute, int second) {
  SYSTEMTIME broken = {};
  broken.wYear = static_cast<WORD>(year);
  broken.wMonth = static_cast<WORD>(month);
  broken.wDay = static_cast<WORD>(day);
  broken.wHour = static_cast<WORD>(hour);
  broken.wMinute = static_cast<WORD>(minute);
  broken.wSecond = static_cast<WORD>(second);
  FILETIME local, utc;
  if (!::SystemTimeToFileTime(&broken, &local) || !::LocalFileTimeToFileTime(&local, &utc))
    return false;
  HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool ok = ::SetFileTime(file, nullptr, nullptr, &utc) != FALSE;
  ::CloseHandle(file);
  return ok;
}

// --- The native side. ---

inline std::string UnixDirName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The native ldtool (Unix path), or "" when none is known.
inline std::string NativeLdtool() {
  std::string tool = Env("LD_TEST_LDTOOL");
  if (!tool.empty()) return tool;
  // <build>/tests/win/win_tests.exe -> <build>/CMakeCache.txt
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, sizeof self);
  std::string build = self;
  for (int up = 0; up < 3; ++up) build = build.substr(0, build.find_last_of("\\/"));
  std::ifstream cache(build + "\\CMakeCache.txt");
  const std::string key = "LD_NATIVE_LDTOOL:FILEPATH=";
  for (std::string line; std::getline(cache, line);) {
    if (line.compare(0, key.size(), key) == 0) return line.substr(key.size());
  }
  return std::string();
}

// Runs `command` with the Unix shell (no double quotes inside) and waits at
// most `timeout_ms` for it; its output goes to `<work>/out`. The exit status,
// or -1 when it did not finish.
inline int RunNative(const std::string& work_unix, const std::string& command,
                     DWORD timeout_ms = 60000) {
  const std::string status = work_unix + "/status";
  ::DeleteFileA(WinePath(status).c_str());
  std::string line = "Z:\\bin\\sh -c \"" + command + " >" + work_unix + "/out 2>&1; echo $? >" +
                     status + ".tmp; mv " + status + ".tmp " + status + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    return -1;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < timeout_ms) {
    const std::string text = ReadWholeFile(WinePath(status));
    if (!text.empty()) return std::atoi(text.c_str());
    ::Sleep(50);
  }
  return -1;
}

// A package published into the portal's tree from a source folder the test
// fills, and its update list as the starter reads it.
class PublishedPackage {
 public:
  // `name` must be unique in the portal's tree (UniqueTag).
  explicit PublishedPackage(std::string name) : name_(std::move(name)) {
    work_unix_ = UnixDirName(PortalRootUnix()) + "/" + name_;
    ::CreateDirectoryA(WinePath(work_unix_).c_str(), nullptr);
    ::CreateDirectoryA(WinePath(source_unix()).c_str(), nullptr);
  }

  const std::string& name() const { return name_; }
  std::string source_unix() const { return work_unix_ + "/src"; }
  std::string work_unix() const { return work_unix_; }

  // Adds a file below the source folder ("data/a.dat") with a local
  // last-write time; the list then carries that minute.
  void AddFile(const std::string& relative, const std::string& content, int minute = 7) {
    std::string path = WinePath(source_unix() + "/" + relative);
    for (std::size_t at = path.find('\\', 3); at != std::string::npos;
         at = path.find('\\', at + 1)) {
      ::CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    }
    ASSERT_TRUE(WriteAll(path, content)) << path;
    ASSERT_TRUE(SetLocalWriteTime(path, 2021, 4, 5, 6, minute, 20)) << path;
  }

  // Runs `ldtool publish` with the list version and extra options (Unix
  // shell words) and loads the list.
  void Publish(const std::string& version, const std::string& extra = std::string()) {
    const std::string tool = NativeLdtool();
    ASSERT_FALSE(tool.empty()) << "no native ldtool";
    const std::string command = tool + " publish --to " + PortalRootUnix() + " --package " + name_ +
                                " --from " + source_unix() + " --version " + version +
                                " --downloadurl http://" + PortalAddress() + "/dist " + extra;
    ASSERT_EQ(0, RunNative(work_unix_, command)) << ReadWholeFile(WinePath(work_unix_ + "/out"));
    list_ = UpdateList();
    ASSERT_TRUE(LoadUpdateList(ListPath(), UpdateListFolders(), &list_));
  }

  std::string ListPath() const {
    return WinePath(PortalRootUnix() + "/hul/newhul/" + name_ + ".hul");
  }
  // Where the portal keeps a published file ("data/a.dat.zip").
  std::string ServedPath(const std::string& relative) const {
    return WinePath(PortalRootUnix() + "/dist/" + name_ + "/" + relative);
  }
  const UpdateList& list() const { return list_; }

 private:
  std::string name_;
  std::string work_unix_;
  UpdateList list_;
};

// Requests the portal answered for paths that start with `prefix`.
inline std::vector<std::string> ServedPaths(const std::string& prefix) {
  std::vector<std::string> paths;
  for (const Json::Value& entry : ReadRequestLog()) {
    const std::string path = entry["path"].asString();
    if (path.compare(0, prefix.size(), prefix) == 0) paths.push_back(path);
  }
  return paths;
}

}  // namespace ld::test
