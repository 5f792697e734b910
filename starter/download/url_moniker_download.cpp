#include "starter/download/url_moniker_download.h"

#include "starter/platform/debug_trace.h"

namespace ld {
namespace {

// URLDownloadToFileA reports the end before it returns; the polling covers
// systems that report it later. A report that never comes must not hold the
// installation forever: after this many polls the call's own answer stands.
constexpr int kMaxEndPolls = 600;  // one minute

constexpr DWORD kFirstHttpError = 400;

}  // namespace

HRESULT STDMETHODCALLTYPE TCB_URLDownloadFileStatus::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
    *object = static_cast<IBindStatusCallback*>(this);
    AddRef();
    return S_OK;
  }
  if (IsEqualIID(riid, IID_IHttpNegotiate)) {
    *object = static_cast<IHttpNegotiate*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TCB_URLDownloadFileStatus::AddRef() {
  return static_cast<ULONG>(++references_);
}

ULONG STDMETHODCALLTYPE TCB_URLDownloadFileStatus::Release() {
  const LONG left = --references_;
  if (left <= 0) {
    Trace("<DISTRUCTOR>");
    delete this;
    return 0;
  }
  return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE TCB_URLDownloadFileStatus::OnStartBinding(DWORD, IBinding*) {
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TCB_URLDownloadFileStatus::GetPriority(LONG*) { return S_OK; }

HRESULT STDMETHODCALLTYPE TCB_URLDownloadFileStatus::OnLowResource(DWORD) { return S_OK; }

HRESULT STDMETHODCALLTYPE TCB_URLDownloadFileStatus::OnProgress(ULONG, ULONG, ULONG, LPCWSTR) {
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TCB_URLDownloadFileStatus::OnStopBinding(HRESULT result, LPCWSTR) {
  result_.store(result, std::memory_order_release);
  finished_.store(1, std::memory_order_release);
  return result;
}

HRESULT STDMETHODCALLTYPE TCB_URLDownloadFileStatus::GetBindInfo(DWORD*, BINDINFO*) { return S_OK; }

HRESULT STDMETHODCALLTYPE TCB_URLDownloadFileStatus::OnDataAvailable(DWORD, DWORD, FORMATETC*,
                                                                     STGMEDIUM*) {
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TCB_URLDownloadFileStatus::OnObjectAvailable(REFIID, IUnknown*) {
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TCB_URLDownloadFileStatus::BeginningTransaction(
    LPCWSTR, LPCWSTR, DWORD, LPWSTR* additional_headers) {
  if (additional_headers != nullptr) *additional_headers = nullptr;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TCB_URLDownloadFileStatus::OnResponse(DWORD status, LPCWSTR, LPCWSTR,
                                                                LPWSTR* additional_headers) {
  if (additional_headers != nullptr) *additional_headers = nullptr;
  http_status_.store(status, std::memory_order_release);
  return status >= kFirstHttpError ? E_ABORT : S_OK;
}

HRESULT UrlDownload(const std::string& remote_address, const std::string& local_path) {
  auto* status = new TCB_URLDownloadFileStatus;
  status->AddRef();
  HRESULT result =
      ::URLDownloadToFileA(nullptr, remote_address.c_str(), local_path.c_str(), 0, status);
  if (SUCCEEDED(result)) {
    int polls = 0;
    while (!status->finished() && polls < kMaxEndPolls) {
      ::Sleep(kUrlDownloadPollMs);
      ++polls;
    }
    if (status->finished()) result = status->result();
  }
  if (SUCCEEDED(result) && status->http_status() >= kFirstHttpError) {
    result = INET_E_DOWNLOAD_FAILURE;
  }
  status->Release();
  return result;
}

}  // namespace ld
