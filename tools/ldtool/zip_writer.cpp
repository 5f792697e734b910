#include "tools/ldtool/zip_writer.h"

#include <zip.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace ld::tool {
namespace {

// Owns an open minizip handle; closes (without comment) when dropped.
class ZipHandle {
 public:
  explicit ZipHandle(const std::string& path)
      : zip_(zipOpen64(path.c_str(), APPEND_STATUS_CREATE)) {}
  ~ZipHandle() {
    if (zip_) zipClose(zip_, nullptr);
  }
  ZipHandle(const ZipHandle&) = delete;
  ZipHandle& operator=(const ZipHandle&) = delete;
  zipFile get() const { return zip_; }
  bool Close() {
    int rc = zipClose(zip_, nullptr);
    zip_ = nullptr;
    return rc == ZIP_OK;
  }

 private:
  zipFile zip_;
};

// The local calendar fields of time when a zip entry can carry them.
bool ZipFields(TimeValue time, BrokenDownTime* local) {
  return BreakDownLocalTime(time, local) && local->year >= 1980 && local->year <= 2107;
}

zip_fileinfo InfoFor(TimeValue time) {
  BrokenDownTime local;
  if (!ZipFields(time, &local)) {
    const bool late = local.year > 2107 || time > kLatestTime;
    local = late ? BrokenDownTime{2107, 12, 0, 31, 23, 59, 58, 0} : BrokenDownTime{1980, 1, 0, 1};
  }
  zip_fileinfo info{};
  info.tmz_date.tm_sec = local.second;
  info.tmz_date.tm_min = local.minute;
  info.tmz_date.tm_hour = local.hour;
  info.tmz_date.tm_mday = local.day;
  info.tmz_date.tm_mon = local.month - 1;
  info.tmz_date.tm_year = local.year;
  info.dosDate = 0;  // use tmz_date
  return info;
}

bool AddEntry(zipFile zip, const ZipSource& source, std::vector<char>& buffer, std::string* error) {
  std::ifstream in(source.source_path, std::ios::binary);
  if (!in) {
    *error = "cannot read " + source.source_path;
    return false;
  }
  zip_fileinfo info = InfoFor(source.time);
  if (zipOpenNewFileInZip(zip, source.entry_name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                          Z_DEFLATED, Z_BEST_COMPRESSION) != ZIP_OK) {
    *error = "cannot add entry " + source.entry_name;
    return false;
  }
  bool ok = true;
  while (ok && in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    std::streamsize n = in.gcount();
    if (n > 0 && zipWriteInFileInZip(zip, buffer.data(), static_cast<unsigned>(n)) != ZIP_OK)
      ok = false;
  }
  if (in.bad()) ok = false;
  if (zipCloseFileInZip(zip) != ZIP_OK) ok = false;
  if (!ok) *error = "cannot compress " + source.source_path;
  return ok;
}

}  // namespace

bool ZipCanCarryTime(TimeValue time) {
  BrokenDownTime local;
  return ZipFields(time, &local);
}

bool WriteZip(const std::string& zip_path, const std::vector<ZipSource>& entries,
              std::string* error) {
  std::string tmp = zip_path + ".tmp-publish";
  std::error_code ec;
  bool ok;
  {
    ZipHandle zip(tmp);
    if (!zip.get()) {
      *error = "cannot create " + tmp;
      return false;
    }
    std::vector<char> buffer(256 * 1024);
    ok = true;
    for (const ZipSource& e : entries) {
      if (!AddEntry(zip.get(), e, buffer, error)) {
        ok = false;
        break;
      }
    }
    if (ok && !zip.Close()) {
      *error = "cannot finish " + tmp;
      ok = false;
    }
  }
  if (ok) {
    std::filesystem::rename(tmp, zip_path, ec);
    if (ec) {
      *error = "cannot rename " + tmp + " to " + zip_path + ": " + ec.message();
      ok = false;
    }
  }
  if (!ok) std::filesystem::remove(tmp, ec);
  return ok;
}

}  // namespace ld::tool
