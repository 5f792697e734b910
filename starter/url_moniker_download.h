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
class TCB_URLDownloadFileStatus : public IBindStatusCallback {
 public:
  TCB_URLDownloadFileStatus() = default;

  // IUnknown: IUnknown and IBindStatusCallback only.
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

  bool finished() const { return finished_.load(std::memory_order_acquire) != 0; }
  HRESULT result() const { return result_.load(std::memory_order_acquire); }
  LONG references() const { return references_.load(); }

 private:
  virtual ~TCB_URLDownloadFileStatus() = default;

  std::atomic<LONG> references_{0};
  std::atomic<unsigned char> finished_{0};
  std::atomic<HRESULT> result_{S_OK};
};

// Polling interval while the transfer has not reported its end.
inline constexpr DWORD kUrlDownloadPollMs = 100;

// Downloads `remote_address` into `local_path` through the URL moniker.
// Returns the status code: negative on failure. When the call returns
// success, waits (polling every 100 ms) for the callback's end report and
// answers the status it stored.
HRESULT UrlDownload(const std::string& remote_address, const std::string& local_path);

}  // namespace ld
