#include "tools/ldtool/zip_writer.h"

#include <zip.h>
#include <zlib.h>

#include <cstdio>
#include <ctime>
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

zip_fileinfo InfoFor(TimeValue time) {
  zip_fileinfo info{};
  time_t t = static_cast<time_t>(time);
  std::tm local{};
  if (!localtime_r(&t, &local) || local.tm_year + 1900 < 1980) {
    local = std::tm{};
    local.tm_year = 80;
    local.tm_mday = 1;
  } else if (local.tm_year + 1900 > 2107) {
    local = std::tm{};
    local.tm_year = 207;
    local.tm_mon = 11;
    local.tm_mday = 31;
    local.tm_hour = 23;
    local.tm_min = 59;
    local.tm_sec = 58;
  }
  info.tmz_date.tm_sec = local.tm_sec;
  info.tmz_date.tm_min = local.tm_min;
  info.tmz_date.tm_hour = local.tm_hour;
  info.tmz_date.tm_mday = local.tm_mday;
  info.tmz_date.tm_mon = local.tm_mon;
  info.tmz_date.tm_year = local.tm_year + 1900;
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
  time_t t = static_cast<time_t>(time);
  std::tm local{};
  return localtime_r(&t, &local) && local.tm_year + 1900 >= 1980 && local.tm_year + 1900 <= 2107;
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
