#include "flash/flashControlSite.h"

FlashControlSite::FlashControlSite() = default;

void FlashControlSite::placeIn(HWND host, int width, int height) {
  host_ = host;
  position_ = {0, 0, width, height};
}

STDMETHODIMP FlashControlSite::QueryInterface(REFIID iid, void **object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite)
    *object = static_cast<IOleClientSite *>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
    *object = static_cast<IOleInPlaceSite *>(this);
  else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
    *object = static_cast<IOleInPlaceFrame *>(this);
  else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) FlashControlSite::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) FlashControlSite::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

// --- IOleClientSite: the control is never stored, so there is nothing to save ---

STDMETHODIMP FlashControlSite::SaveObject() { return E_NOTIMPL; }

STDMETHODIMP FlashControlSite::GetMoniker(DWORD, DWORD, IMoniker **moniker) {
  *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FlashControlSite::GetContainer(IOleContainer **container) {
  *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP FlashControlSite::ShowObject() { return S_OK; }
STDMETHODIMP FlashControlSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP FlashControlSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// --- IOleWindow ---

STDMETHODIMP FlashControlSite::GetWindow(HWND *window) {
  *window = host_;
  return host_ ? S_OK : E_FAIL;
}

STDMETHODIMP FlashControlSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// --- IOleInPlaceSite ---

STDMETHODIMP FlashControlSite::CanInPlaceActivate() { return host_ ? S_OK : S_FALSE; }
STDMETHODIMP FlashControlSite::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP FlashControlSite::OnUIActivate() { return S_OK; }

STDMETHODIMP FlashControlSite::GetWindowContext(IOleInPlaceFrame **frame, IOleInPlaceUIWindow **document,
                                                LPRECT position, LPRECT clip,
                                                LPOLEINPLACEFRAMEINFO frameInfo) {
  *frame = static_cast<IOleInPlaceFrame *>(this);
  AddRef();
  *document = nullptr;
  *position = position_;
  *clip = position_;
  frameInfo->fMDIApp = FALSE;
  frameInfo->hwndFrame = host_ ? GetAncestor(host_, GA_ROOT) : nullptr;
  frameInfo->haccel = nullptr;
  frameInfo->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP FlashControlSite::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP FlashControlSite::OnUIDeactivate(BOOL) { return S_OK; }
STDMETHODIMP FlashControlSite::OnInPlaceDeactivate() { return S_OK; }
STDMETHODIMP FlashControlSite::DiscardUndoState() { return S_OK; }
STDMETHODIMP FlashControlSite::DeactivateAndUndo() { return E_NOTIMPL; }

// The control keeps the rectangle it was given when activated.
STDMETHODIMP FlashControlSite::OnPosRectChange(LPCRECT) { return S_OK; }

// --- IOleInPlaceFrame: no menus, tool space or status line to share ---

STDMETHODIMP FlashControlSite::GetBorder(LPRECT) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP FlashControlSite::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP FlashControlSite::SetBorderSpace(LPCBORDERWIDTHS) { return OLE_E_INVALIDRECT; }
STDMETHODIMP FlashControlSite::SetActiveObject(IOleInPlaceActiveObject *, LPCOLESTR) { return S_OK; }
STDMETHODIMP FlashControlSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return S_OK; }
STDMETHODIMP FlashControlSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP FlashControlSite::RemoveMenus(HMENU) { return S_OK; }
STDMETHODIMP FlashControlSite::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP FlashControlSite::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP FlashControlSite::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }
