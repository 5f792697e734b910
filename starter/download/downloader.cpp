#include "starter/download/downloader.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/base/error_codes.h"
#include "starter/download/download_log.h"
#include "starter/platform/folders.h"
#include "starter/app/starter_app.h"
#include "starter/platform/win_handle.h"

namespace ld {
namespace {

void LogFailure(const std::string& text) { LogDownloadEvent(error_code::kDownloadFile, text); }

// The library keeps the server's last words per thread; reading them clears
// them so a later failure on this thread does not show stale ones.
void DiscardResponseInfo() {
  DWORD error = 0;
  char info[512];
  DWORD size = sizeof info;
  ::InternetGetLastResponseInfoA(&error, info, &size);
}

std::string Canonical(const std::string& remote_address) {
  char canonical[kCanonicalAddressBuffer] = {};
  DWORD size = sizeof canonical;
  if (::InternetCanonicalizeUrlA(remote_address.c_str(), canonical, &size, 0)) return canonical;
  // An address the library cannot canonicalise (or one too long for the
  // buffer) is tried as given; opening it decides.
  return remote_address;
}

// The Content-Length the server announced, when it announced one.
bool AnnouncedLength(HINTERNET request, uint64_t* length) {
  char text[32] = {};
  DWORD size = sizeof text;
  if (!::HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return false;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  if (end == text) return false;
  *length = value;
  return true;
}

void AddToMeter(MeterControl* meter, DWORD bytes, bool staged) {
  if (meter == nullptr) return;
  if (staged) {
    meter->StagedAddBytes(bytes);
  } else {
    meter->AddBytes(bytes);
  }
}

}  // namespace

bool DownloadFile(HINTERNET internet, DWORD buffer_size, const std::string& local_path,
                  const std::string& remote_address, MeterControl* meter_a, MeterControl* meter_b,
                  bool staged) {
  const cStarterApp& app = cStarterApp::Get();
  if (buffer_size == 0) buffer_size = kDefaultDownloadBuffer;
  const std::string canonical = Canonical(remote_address);

  InternetHandle request;
  for (int attempt = 0; attempt < kOpenAddressTries && !request; ++attempt) {
    request.Reset(
        ::InternetOpenUrlA(internet, canonical.c_str(), nullptr, 0, kDownloadOpenFlags, 0));
  }
  if (!request) {
    LogFailure(BoundedFormat(kLogTextField,
                             "[ERR]DownloadFile()::InternetOpenUrl() failed, url : %s",
                             canonical.c_str()));
    DiscardResponseInfo();
    return false;
  }

  DWORD status = 0;
  DWORD status_size = sizeof status;
  ::HttpQueryInfoA(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                   &status_size, nullptr);
  if (status != HTTP_STATUS_OK) {
    request.Reset();
    LogFailure(BoundedFormat(kLogTextField,
                             "[ERR]DownloadFile():: HttpQueryInfo() failed [FnRet:%u]",
                             static_cast<unsigned>(status)));
    DiscardResponseInfo();
    return false;
  }

  if (app.StopRequested()) return false;

  if (FileExists(local_path) && !DeleteFileForced(local_path)) {
    LogFailure(BoundedFormat(kLogTextField, "[ERR]DownloadFile():: [ %s ] not deleted, (%d)",
                             local_path.c_str(), static_cast<int>(::GetLastError())));
  }

  FileHandle file(::CreateFileA(local_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
  if (!file) {
    LogFailure(BoundedFormat(kLogTextField, "[ERR]DownloadFile():: Fail CreateFile( %s )(%d)",
                             local_path.c_str(), static_cast<int>(::GetLastError())));
    DiscardResponseInfo();
    return false;
  }

  uint64_t announced = 0;
  const bool has_length = AnnouncedLength(request.Get(), &announced);
  uint64_t received = 0;
  std::vector<char> buffer(buffer_size);
  for (;;) {
    DWORD read = 0;
    std::string failure;
    if (!::InternetReadFile(request.Get(), buffer.data(), buffer_size, &read)) {
      failure = BoundedFormat(kLogTextField, "[ERR]InternetReadFile() fail(%s)(%d)",
                              canonical.c_str(), static_cast<int>(::GetLastError()));
    } else if (read == 0 && !TransferComplete(has_length, announced, received)) {
      // The library ends a connection closed early like a finished answer;
      // keeping the piece would hand a cut file on as a whole one.
      failure = BoundedFormat(kLogTextField, "[ERR]InternetReadFile() fail(%s)(%d)",
                              canonical.c_str(), ERROR_INTERNET_CONNECTION_RESET);
    } else if (read > 0) {
      received += read;
      DWORD written = 0;
      // A short write without an error (a full disk on some file systems)
      // loses data as surely as a failed one.
      if (!::WriteFile(file.Get(), buffer.data(), read, &written, nullptr) || written != read) {
        failure = BoundedFormat(kLogTextField,
                                "[ERR]DownloadFile():: Fail to write read data to file( %s )(%d)",
                                local_path.c_str(), static_cast<int>(::GetLastError()));
      }
    }
    if (!failure.empty()) {
      LogFailure(failure);
      request.Reset();
      file.Reset();
      DeleteFileForced(local_path);
      DiscardResponseInfo();
      return false;
    }

    AddToMeter(meter_a, read, staged);
    AddToMeter(meter_b, read, staged);

    const bool stopped = app.StopRequested();
    if (stopped || read == 0) return !stopped;
  }
}

}  // namespace ld
