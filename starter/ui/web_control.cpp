#include "starter/ui/web_control.h"

#include <oleauto.h>

#include <cstring>
#include <string>

namespace ld {
namespace {

// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID kWebBrowserClassId = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

bool g_class_registered = false;
int g_live = 0;
bool g_ole_started = false;
LONG g_references = 0;

IWebBrowser2* WebBrowserOf(IOleObject* browser) {
  if (browser == nullptr) return nullptr;
  IWebBrowser2* web = nullptr;
  if (FAILED(browser->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&web)))) {
    return nullptr;
  }
  return web;
}

}  // namespace

CMWebControl::CMWebControl() {
  if (g_live == 0 && !g_ole_started) {
    g_ole_started = SUCCEEDED(::OleInitialize(nullptr));
  }
  if (!g_class_registered) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = HostWindowProc;
    wc.cbWndExtra = 4;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kWebControlClass;
    g_class_registered = ::RegisterClassExA(&wc) != 0;
  }
  ++g_live;
  counted_live_ = true;
  ::InterlockedIncrement(&g_references);  // the owner's reference
  ::lstrcpynA(class_name_, kWebControlClass, sizeof class_name_);
}

CMWebControl::~CMWebControl() {
  if (host_ != nullptr && ::IsWindow(host_)) {
    ::SetWindowLongPtrA(host_, GWLP_USERDATA, 0);
    ::DestroyWindow(host_);
  }
  host_ = nullptr;
  Close();
  ::InterlockedDecrement(&g_references);
  if (counted_live_ && --g_live == 0 && g_ole_started) {
    ::OleUninitialize();
    g_ole_started = false;
  }
}

LONG CMWebControl::SharedReferences() { return g_references; }
int CMWebControl::LiveControls() { return g_live; }

bool CMWebControl::Create(const char* title, DWORD style, int x, int y, int width, int height,
                          HWND parent, int id, HINSTANCE instance) {
  host_ = ::CreateWindowExA(0, class_name_, title, style, x, y, width, height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            instance != nullptr ? instance : ::GetModuleHandleA(nullptr), nullptr);
  if (host_ == nullptr) return false;
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  ::SetWindowLongPtrA(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  embed_result_ = Embed();
  return true;
}

int CMWebControl::Embed() {
  IOleObject* browser = nullptr;
  if (FAILED(::OleCreate(kWebBrowserClassId, IID_IOleObject, OLERENDER_DRAW, nullptr,
                         static_cast<IOleClientSite*>(this), static_cast<IStorage*>(this),
                         reinterpret_cast<void**>(&browser))) ||
      browser == nullptr) {
    return -2;
  }
  browser_ = browser;
  browser_->SetHostNames(L"My Host Name", nullptr);
  RECT rect = {};
  ::GetClientRect(host_, &rect);
  if (FAILED(::OleSetContainedObject(browser_, TRUE))) return -3;
  if (FAILED(browser_->DoVerb(OLEIVERB_SHOW, nullptr, static_cast<IOleClientSite*>(this), -1, host_,
                              &rect))) {
    return -3;
  }
  IWebBrowser2* web = WebBrowserOf(browser_);
  if (web == nullptr) return -3;
  web->put_Left(0);
  web->put_Top(0);
  web->put_Width(rect.right);
  web->put_Height(rect.bottom);
  web->Release();
  return 0;
}

int CMWebControl::Navigate(const char* url) {
  IWebBrowser2* web = WebBrowserOf(browser_);
  if (web == nullptr) return -5;
  const char* text = url != nullptr ? url : "";
  int result = -6;
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length > 0) {
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    VARIANT address;
    ::VariantInit(&address);
    address.vt = VT_BSTR;
    address.bstrVal = ::SysAllocString(wide.c_str());
    if (address.bstrVal != nullptr) {
      web->Navigate2(&address, nullptr, nullptr, nullptr, nullptr);
      result = 0;
    }
    ::VariantClear(&address);
  }
  web->Release();
  return result;
}

void CMWebControl::Resize(int width, int height) {
  IWebBrowser2* web = WebBrowserOf(browser_);
  if (web == nullptr) return;
  web->put_Width(width);
  web->put_Height(height);
  web->Release();
}

void CMWebControl::Close() {
  if (browser_ == nullptr) return;
  IOleObject* browser = browser_;
  browser_ = nullptr;
  browser->Close(OLECLOSE_NOSAVE);
  browser->Release();
}

int CMWebControl::ReadyState() {
  IWebBrowser2* web = WebBrowserOf(browser_);
  if (web == nullptr) return -1;
  READYSTATE state = READYSTATE_UNINITIALIZED;
  const HRESULT hr = web->get_ReadyState(&state);
  web->Release();
  return SUCCEEDED(hr) ? static_cast<int>(state) : -1;
}

LRESULT CALLBACK CMWebControl::HostWindowProc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  auto* control = reinterpret_cast<CMWebControl*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      if (control != nullptr) control->Close();
      return 1;
    case WM_SIZE:
      if (control != nullptr) control->Resize(LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_LBUTTONDOWN:
      return 0;
    default:
      return ::DefWindowProcA(window, message, wparam, lparam);
  }
}

// --- IUnknown ---

STDMETHODIMP CMWebControl::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
    *object = static_cast<IOleClientSite*>(this);
  } else if (IsEqualIID(riid, IID_IOleInPlaceSite)) {
    *object = static_cast<IOleInPlaceSite*>(this);
  } else if (IsEqualIID(riid, IID_IStorage)) {
    *object = static_cast<IStorage*>(this);
  } else if (IsEqualIID(riid, IID_IOleInPlaceFrame) || IsEqualIID(riid, IID_IOleInPlaceUIWindow)) {
    *object = static_cast<IOleInPlaceFrame*>(this);
  } else if (IsEqualIID(riid, IID_IDocHostUIHandler)) {
    *object = static_cast<IDocHostUIHandler*>(this);
  } else {
    return E_NOTIMPL;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CMWebControl::AddRef() {
  return static_cast<ULONG>(::InterlockedIncrement(&g_references));
}

// The owners' references keep the shared count above zero while any control
// lives, and owners delete their controls themselves.
STDMETHODIMP_(ULONG) CMWebControl::Release() {
  const LONG count = ::InterlockedDecrement(&g_references);
  return static_cast<ULONG>(count > 0 ? count : 0);
}

// --- IOleClientSite ---

STDMETHODIMP CMWebControl::SaveObject() { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP CMWebControl::GetContainer(IOleContainer** container) {
  if (container != nullptr) *container = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP CMWebControl::ShowObject() { return S_OK; }
STDMETHODIMP CMWebControl::OnShowWindow(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::RequestNewObjectLayout() { return E_NOTIMPL; }

// --- IOleWindow ---

STDMETHODIMP CMWebControl::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = host_;
  return S_OK;
}
STDMETHODIMP CMWebControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// --- IOleInPlaceSite ---

STDMETHODIMP CMWebControl::CanInPlaceActivate() { return S_OK; }
STDMETHODIMP CMWebControl::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP CMWebControl::OnUIActivate() { return S_OK; }
STDMETHODIMP CMWebControl::GetWindowContext(IOleInPlaceFrame** frame,
                                            IOleInPlaceUIWindow** document, LPRECT position,
                                            LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  // No frame or document windows to offer; the page fills the host window.
  if (frame != nullptr) *frame = nullptr;
  if (document != nullptr) *document = nullptr;
  if (position != nullptr && host_ != nullptr) ::GetClientRect(host_, position);
  if (clip != nullptr && host_ != nullptr) ::GetClientRect(host_, clip);
  if (info != nullptr && info->cb >= sizeof(OLEINPLACEFRAMEINFO)) {
    info->fMDIApp = FALSE;
    info->hwndFrame = host_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
  }
  return S_OK;
}
STDMETHODIMP CMWebControl::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::OnUIDeactivate(BOOL) { return S_OK; }
STDMETHODIMP CMWebControl::OnInPlaceDeactivate() { return S_OK; }
STDMETHODIMP CMWebControl::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::DeactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::OnPosRectChange(LPCRECT rect) {
  if (browser_ == nullptr || rect == nullptr) return S_OK;
  IOleInPlaceObject* in_place = nullptr;
  if (SUCCEEDED(
          browser_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&in_place))) &&
      in_place != nullptr) {
    in_place->SetObjectRects(rect, rect);
    in_place->Release();
  }
  return S_OK;
}

// --- IStorage: nothing is stored. ---

STDMETHODIMP CMWebControl::CreateStream(const OLECHAR*, DWORD, DWORD, DWORD, IStream**) {
  return E_NOTIMPL;
}
STDMETHODIMP CMWebControl::OpenStream(const OLECHAR*, void*, DWORD, DWORD, IStream**) {
  return E_NOTIMPL;
}
STDMETHODIMP CMWebControl::CreateStorage(const OLECHAR*, DWORD, DWORD, DWORD, IStorage**) {
  return E_NOTIMPL;
}
STDMETHODIMP CMWebControl::OpenStorage(const OLECHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) {
  return E_NOTIMPL;
}
STDMETHODIMP CMWebControl::CopyTo(DWORD, const IID*, SNB, IStorage*) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::MoveElementTo(const OLECHAR*, IStorage*, const OLECHAR*, DWORD) {
  return E_NOTIMPL;
}
STDMETHODIMP CMWebControl::Commit(DWORD) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::Revert() { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::EnumElements(DWORD, void*, DWORD, IEnumSTATSTG**) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::DestroyElement(const OLECHAR*) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::RenameElement(const OLECHAR*, const OLECHAR*) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::SetElementTimes(const OLECHAR*, const FILETIME*, const FILETIME*,
                                           const FILETIME*) {
  return E_NOTIMPL;
}
STDMETHODIMP CMWebControl::SetClass(REFCLSID) { return S_OK; }
STDMETHODIMP CMWebControl::SetStateBits(DWORD, DWORD) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::Stat(STATSTG*, DWORD) { return E_NOTIMPL; }

// --- IOleInPlaceUIWindow / IOleInPlaceFrame ---

STDMETHODIMP CMWebControl::GetBorder(LPRECT) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::RequestBorderSpace(LPCBORDERWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::SetBorderSpace(LPCBORDERWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return S_OK; }
STDMETHODIMP CMWebControl::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP CMWebControl::RemoveMenus(HMENU) { return E_NOTIMPL; }
STDMETHODIMP CMWebControl::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP CMWebControl::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP CMWebControl::TranslateAccelerator(LPMSG, WORD) { return E_NOTIMPL; }

// --- IDocHostUIHandler ---

// S_OK claims the menu, so none is shown.
STDMETHODIMP CMWebControl::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_OK; }
STDMETHODIMP CMWebControl::GetHostInfo(DOCHOSTUIINFO*) { return S_OK; }
STDMETHODIMP CMWebControl::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                  IOleInPlaceFrame*, IOleInPlaceUIWindow*) {
  return S_OK;
}
STDMETHODIMP CMWebControl::HideUI() { return S_OK; }
STDMETHODIMP CMWebControl::UpdateUI() { return S_OK; }
STDMETHODIMP CMWebControl::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP CMWebControl::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP CMWebControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP CMWebControl::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_FALSE; }
STDMETHODIMP CMWebControl::GetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key != nullptr) *key = nullptr;
  return S_FALSE;
}
STDMETHODIMP CMWebControl::GetDropTarget(IDropTarget*, IDropTarget** target) {
  if (target != nullptr) *target = nullptr;
  return S_FALSE;
}
STDMETHODIMP CMWebControl::GetExternal(IDispatch** external) {
  if (external != nullptr) *external = nullptr;
  return S_FALSE;
}
STDMETHODIMP CMWebControl::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
  if (translated != nullptr) *translated = nullptr;
  return S_FALSE;
}
STDMETHODIMP CMWebControl::FilterDataObject(IDataObject*, IDataObject** result) {
  if (result != nullptr) *result = nullptr;
  return S_FALSE;
}

}  // namespace ld
