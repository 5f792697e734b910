// CMWebControl: a child window of class "webcontrol" that embeds the system's
// WebBrowser object and is its container, with the smallest behaviour that
// lets it show a page inside a fixed rectangle: no menus, no status text, no
// context menu, no storage.
//
// Threads: the window thread only (OLE single-threaded apartment).
//
// Ownership: the owner creates the object with new, makes its window with
// Create and deletes the object directly after the window is gone (or to
// make it go). OLE is started while at least one control lives. All controls
// share one reference count; every control holds a reference of its own for
// its owner, so a browser's last Release never frees a control its owner
// still deletes later.
//
// Failures are reported by negative codes and nothing else: without a
// browser engine (as under Wine without one) the window stays, empty, and
// ReadyState() answers -1.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <ole2.h>

namespace ld {

inline constexpr char kWebControlClass[] = "webcontrol";

class CMWebControl : public IOleClientSite,
                     public IOleInPlaceSite,
                     public IStorage,
                     public IOleInPlaceFrame,
                     public IDocHostUIHandler {
 public:
  CMWebControl();
  virtual ~CMWebControl();
  CMWebControl(const CMWebControl&) = delete;
  CMWebControl& operator=(const CMWebControl&) = delete;

  // Makes the host window (no extended style) and embeds the browser. The
  // result is whether the window was made; a failed embedding keeps the empty
  // window.
  bool Create(const char* title, DWORD style, int x, int y, int width, int height, HWND parent,
              int id, HINSTANCE instance);
  // 0, -5 without IWebBrowser2, -6 when the address cannot be converted.
  int Navigate(const char* url);
  void Resize(int width, int height);
  // Closes the browser without saving and releases it.
  void Close();
  // The browser's ready state (4: complete), -1 without a browser.
  int ReadyState();

  HWND hwnd() const { return host_; }
  IOleObject* browser() const { return browser_; }
  // Result of the embedding: 0, -2 (not created), -3 (not activated).
  int embed_result() const { return embed_result_; }

  // The count every control's AddRef and Release report.
  static LONG SharedReferences();
  static int LiveControls();

  // IUnknown (all faces).
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IOleClientSite.
  STDMETHODIMP SaveObject() override;
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override;
  STDMETHODIMP GetContainer(IOleContainer** container) override;
  STDMETHODIMP ShowObject() override;
  STDMETHODIMP OnShowWindow(BOOL) override;
  STDMETHODIMP RequestNewObjectLayout() override;

  // IOleWindow (in-place site and frame).
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override;

  // IOleInPlaceSite.
  STDMETHODIMP CanInPlaceActivate() override;
  STDMETHODIMP OnInPlaceActivate() override;
  STDMETHODIMP OnUIActivate() override;
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
  STDMETHODIMP Scroll(SIZE) override;
  STDMETHODIMP OnUIDeactivate(BOOL) override;
  STDMETHODIMP OnInPlaceDeactivate() override;
  STDMETHODIMP DiscardUndoState() override;
  STDMETHODIMP DeactivateAndUndo() override;
  STDMETHODIMP OnPosRectChange(LPCRECT rect) override;

  // IStorage.
  STDMETHODIMP CreateStream(const OLECHAR*, DWORD, DWORD, DWORD, IStream**) override;
  STDMETHODIMP OpenStream(const OLECHAR*, void*, DWORD, DWORD, IStream**) override;
  STDMETHODIMP CreateStorage(const OLECHAR*, DWORD, DWORD, DWORD, IStorage**) override;
  STDMETHODIMP OpenStorage(const OLECHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) override;
  STDMETHODIMP CopyTo(DWORD, const IID*, SNB, IStorage*) override;
  STDMETHODIMP MoveElementTo(const OLECHAR*, IStorage*, const OLECHAR*, DWORD) override;
  STDMETHODIMP Commit(DWORD) override;
  STDMETHODIMP Revert() override;
  STDMETHODIMP EnumElements(DWORD, void*, DWORD, IEnumSTATSTG**) override;
  STDMETHODIMP DestroyElement(const OLECHAR*) override;
  STDMETHODIMP RenameElement(const OLECHAR*, const OLECHAR*) override;
  STDMETHODIMP SetElementTimes(const OLECHAR*, const FILETIME*, const FILETIME*,
                               const FILETIME*) override;
  STDMETHODIMP SetClass(REFCLSID) override;
  STDMETHODIMP SetStateBits(DWORD, DWORD) override;
  STDMETHODIMP Stat(STATSTG*, DWORD) override;

  // IOleInPlaceUIWindow / IOleInPlaceFrame.
  STDMETHODIMP GetBorder(LPRECT) override;
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override;
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override;
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override;
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override;
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override;
  STDMETHODIMP RemoveMenus(HMENU) override;
  STDMETHODIMP SetStatusText(LPCOLESTR) override;
  STDMETHODIMP EnableModeless(BOOL) override;  // also IDocHostUIHandler's
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override;

  // IDocHostUIHandler.
  STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override;
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO*) override;
  STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                      IOleInPlaceUIWindow*) override;
  STDMETHODIMP HideUI() override;
  STDMETHODIMP UpdateUI() override;
  STDMETHODIMP OnDocWindowActivate(BOOL) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL) override;
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override;
  STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override;
  STDMETHODIMP GetOptionKeyPath(LPOLESTR*, DWORD) override;
  STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget**) override;
  STDMETHODIMP GetExternal(IDispatch** external) override;
  STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) override;
  STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** result) override;

 private:
  static LRESULT CALLBACK HostWindowProc(HWND, UINT, WPARAM, LPARAM);
  int Embed();

  HWND host_ = nullptr;
  int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
  char class_name_[16] = {};
  IOleObject* browser_ = nullptr;
  int embed_result_ = -2;
  bool counted_live_ = false;
};

}  // namespace ld
