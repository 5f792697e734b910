#include "bench/win/install_probe.h"

#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <vector>

#include "bench/win/bench_clock.h"
#include "core/install/download_rules.h"
#include "core/install/install_paths.h"
#include "starter/download/downloader.h"
#include "starter/platform/folders.h"
#include "starter/net/internet_open.h"
#include "starter/platform/win_handle.h"
#include "starter/install/zip_extract.h"

namespace ld {
namespace {

// Milliseconds summed over the files for one step.
struct StepTimes {
  double request = 0;     // InternetOpenUrlA and the status query
  double transfer = 0;    // InternetReadFile to the end, into memory
  double download = 0;    // DownloadFile: request, transfer and the zip written
  double remove_old = 0;  // deleting the (absent) final file
  double extract = 0;     // ExtractZipEntry
  double delete_zip = 0;  // deleting the zip
  double thread = 0;      // CreateThread, run, wait, close
  double first_byte = 0;  // of transfer: the first InternetReadFile
  // Variants that show what a different call would save.
  double request_no_cookies = 0;  // request with INTERNET_FLAG_NO_COOKIES added
  double small_stack_thread = 0;  // thread with a 64 KiB stack reservation
};

DWORD WINAPI EmptyWorker(void*) { return 0; }

// Request and transfer without the file system; false when the request
// failed.
bool TimeTransfer(HINTERNET internet, const std::string& address, DWORD piece, StepTimes* times) {
  {
    const double start = NowMilliseconds();
    InternetHandle request(::InternetOpenUrlA(internet, address.c_str(), nullptr, 0,
                                              kDownloadOpenFlags | INTERNET_FLAG_NO_COOKIES, 0));
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!request ||
        !::HttpQueryInfoA(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                          &size, nullptr)) {
      return false;
    }
    times->request_no_cookies += NowMilliseconds() - start;
  }
  const double start = NowMilliseconds();
  InternetHandle request(
      ::InternetOpenUrlA(internet, address.c_str(), nullptr, 0, kDownloadOpenFlags, 0));
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!request ||
      !::HttpQueryInfoA(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr) ||
      status != 200) {
    return false;
  }
  const double opened = NowMilliseconds();
  std::vector<char> buffer(piece);
  DWORD read = 0;
  bool first = true;
  double first_done = opened;
  while (::InternetReadFile(request.Get(), buffer.data(), piece, &read) && read != 0) {
    if (first) first_done = NowMilliseconds();
    first = false;
  }
  const double end = NowMilliseconds();
  times->request += opened - start;
  times->transfer += end - opened;
  times->first_byte += first_done - opened;
  return true;
}

}  // namespace

int ProbeInstallSteps(const PackageDescriptor& package, const PackageSource& source,
                      const std::string& folder, std::size_t limit) {
  InternetHandle internet = OpenDownloadHandle();
  if (!internet) return 1;
  SetReceiveTimeout(internet.Get(), kPackageReceiveTimeoutMs);

  StepTimes times;
  int failures = 0;
  std::size_t files = 0;
  for (const FileRecord& record : package.records) {
    if (limit != 0 && files == limit) break;
    ++files;
    const std::string address = RemoteFileAddress(source, record.dir_path, record.name);
    const std::string target = TargetFolder(folder, record.dir_path);
    const std::string final_path = FinalPath(folder, record.dir_path, record.name);
    const std::string zip_path = final_path + ".zip";
    CreateFolder(target);
    const DWORD piece = PackageDownloadBufferSize(record.zip_size);

    if (!TimeTransfer(internet.Get(), address, piece, &times)) ++failures;
    double start = NowMilliseconds();
    if (!DownloadFile(internet.Get(), piece, zip_path, address, nullptr, nullptr, false)) {
      ++failures;
    }
    times.download += NowMilliseconds() - start;
    start = NowMilliseconds();
    DeleteFileForced(final_path);
    times.remove_old += NowMilliseconds() - start;
    start = NowMilliseconds();
    if (!ExtractZipEntry(zip_path, record.name, target)) ++failures;
    times.extract += NowMilliseconds() - start;
    start = NowMilliseconds();
    if (!DeleteFileForced(zip_path)) ++failures;
    times.delete_zip += NowMilliseconds() - start;
    start = NowMilliseconds();
    HANDLE thread = ::CreateThread(nullptr, 0, EmptyWorker, nullptr, 0, nullptr);
    if (thread != nullptr) {
      ::WaitForSingleObject(thread, INFINITE);
      ::CloseHandle(thread);
    } else {
      ++failures;
    }
    times.thread += NowMilliseconds() - start;
    start = NowMilliseconds();
    thread = ::CreateThread(nullptr, 64 * 1024, EmptyWorker, nullptr,
                            STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread != nullptr) {
      ::WaitForSingleObject(thread, INFINITE);
      ::CloseHandle(thread);
    }
    times.small_stack_thread += NowMilliseconds() - start;
  }

  const double n = files == 0 ? 1.0 : static_cast<double>(files);
  std::printf("probe_files=%zu\n", files);
  std::printf("probe_failures=%d\n", failures);
  std::printf("probe_request_ms=%.3f\n", times.request / n);
  std::printf("probe_first_read_ms=%.3f\n", times.first_byte / n);
  std::printf("probe_transfer_ms=%.3f\n", times.transfer / n);
  std::printf("probe_download_to_file_ms=%.3f\n", times.download / n);
  std::printf("probe_remove_old_ms=%.3f\n", times.remove_old / n);
  std::printf("probe_extract_ms=%.3f\n", times.extract / n);
  std::printf("probe_delete_zip_ms=%.3f\n", times.delete_zip / n);
  std::printf("probe_thread_ms=%.3f\n", times.thread / n);
  std::printf("probe_request_no_cookies_ms=%.3f\n", times.request_no_cookies / n);
  std::printf("probe_small_stack_thread_ms=%.3f\n", times.small_stack_thread / n);
  return failures;
}

}  // namespace ld
