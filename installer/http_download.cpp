#include "installer/http_download.h"

#include <windows.h>
#include <wininet.h>

#include "installer/win_handles.h"

namespace ld::installer {
namespace {

constexpr char kAgent[] = "MANUAL_INSTALL_LDSTARTER";
constexpr DWORD kUrlLimit = 520;
constexpr DWORD kReceiveTimeoutMs = 3000;
constexpr int kOpenAttempts = 3;
constexpr DWORD kPiece = 1024;

bool CopyAnswer(HINTERNET answer, const std::string& path) {
  ::DeleteFileA(path.c_str());
  KernelHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
  if (!file) return false;
  char piece[kPiece];
  for (;;) {
    DWORD got = 0;
    // A broken connection is a failed download, not the end of the file: a
    // cut version file would otherwise read as an older version.
    if (!::InternetReadFile(answer, piece, kPiece, &got)) return false;
    if (got == 0) return true;
    DWORD put = 0;
    if (!::WriteFile(file.get(), piece, got, &put, nullptr) || put != got) return false;
  }
}

}  // namespace

bool DownloadToFile(const std::string& url, const std::string& path) {
  char canonical[kUrlLimit] = {};
  DWORD length = kUrlLimit;
  if (!::InternetCanonicalizeUrlA(url.c_str(), canonical, &length, 0)) return false;

  InternetHandle session(::InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, "", nullptr, 0));
  if (!session) return false;
  DWORD timeout = kReceiveTimeoutMs;
  ::InternetSetOptionA(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));

  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    InternetHandle answer(::InternetOpenUrlA(session.get(), canonical, nullptr, 0,
                                             INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
                                             0));
    if (!answer) continue;
    DWORD status = 0, size = sizeof(status);
    if (!::HttpQueryInfoA(answer.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                          &size, nullptr) ||
        status != 200)
      return false;
    return CopyAnswer(answer.get(), path);
  }
  return false;
}

}  // namespace ld::installer
