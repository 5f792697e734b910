// The second download route: the system's URL moniker (URLDownloadToFileA)
// with a bind-status callback that records the end of the transfer. Callers
// use it when the handle download of downloader.h failed. No progress is
// shown and the stop flag is not read.
//
// Threads: the installation driver thread (and the self-update on the main
// thread). The callback object may be called on the downloading thread only;
// its reference count is atomic anyway, as COM objects' counts are.
#pragma once

#include <windows.h>
#include <urlmon.h>

#include <atomic>
#include <string>

namespace ld {

// Bind-status callback of one URL download. Starts with no reference; the
// last Release writes "<DISTRUCTOR>" to the debugger output and frees the
// object, which must therefore be made with new.
//
// It also answers IHttpNegotiate, only to learn the server's status: an
// error page (status 400 or more) is refused there, so that the moniker does
// not store it as the downloaded file and answer success.
class TCB_URLDownloadFileStatus : public IBindStatusCallback, public IHttpNegotiate {
 public:
  TCB_URLDownloadFileStatus() = default;

  // IUnknown: IUnknown, IBindStatusCallback and IHttpNegotiate.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IBindStatusCallback: success everywhere except OnStopBinding, which
  // stores `result`, sets the finished flag and answers `result`.
  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD reserved, IBinding* binding) override;
  HRESULT STDMETHODCALLTYPE GetPriority(LONG* priority) override;
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD reserved) override;
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progress_max, ULONG status_code,
                                       LPCWSTR status_text) override;
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT result, LPCWSTR error) override;
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* bind_flags, BINDINFO* bind_info) override;
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format,
                                            STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID riid, IUnknown* object) override;

  // IHttpNegotiate: no extra request headers; a response status of 400 or
  // more is recorded and aborts the transfer.
  HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR url, LPCWSTR headers, DWORD reserved,
                                                 LPWSTR* additional_headers) override;
  HRESULT STDMETHODCALLTYPE OnResponse(DWORD status, LPCWSTR response_headers,
                                       LPCWSTR request_headers,
                                       LPWSTR* additional_headers) override;

  // The HTTP status the server answered, 0 when none was seen.
  DWORD http_status() const { return http_status_.load(std::memory_order_acquire); }
  bool finished() const { return finished_.load(std::memory_order_acquire) != 0; }
  HRESULT result() const { return result_.load(std::memory_order_acquire); }
  LONG references() const { return references_.load(); }

 private:
  virtual ~TCB_URLDownloadFileStatus() = default;

  std::atomic<LONG> references_{0};
  std::atomic<unsigned char> finished_{0};
  std::atomic<HRESULT> result_{S_OK};
  std::atomic<DWORD> http_status_{0};
};

// Polling interval while the transfer has not reported its end.
inline constexpr DWORD kUrlDownloadPollMs = 100;

// Downloads `remote_address` into `local_path` through the URL moniker.
// Returns the status code: negative on failure. When the call returns
// success, waits (polling every 100 ms) for the callback's end report and
// answers the status it stored. An HTTP error status is a failure
// (INET_E_DOWNLOAD_FAILURE) even where the system would store the error page.
HRESULT UrlDownload(const std::string& remote_address, const std::string& local_path);

}  // namespace ld
