// The container side of the Flash control's in-place activation: the client
// site, in-place site and frame that the control asks where to open its
// window. The control fills the rectangle (0, 0, width, height) of the host
// window; menus, tool space and undo are not offered.
#ifndef SAVER_FLASH_FLASH_CONTROL_SITE_H
#define SAVER_FLASH_FLASH_CONTROL_SITE_H

#include <ole2.h>

class FlashControlSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  FlashControlSite();

  // The window and size the control is to take; set before activation.
  void placeIn(HWND host, int width, int height);
  HWND host() const { return host_; }
  const RECT &position() const { return position_; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IOleClientSite
  STDMETHODIMP SaveObject() override;
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker **moniker) override;
  STDMETHODIMP GetContainer(IOleContainer **container) override;
  STDMETHODIMP ShowObject() override;
  STDMETHODIMP OnShowWindow(BOOL) override;
  STDMETHODIMP RequestNewObjectLayout() override;

  // IOleWindow, shared by the in-place site and the frame
  STDMETHODIMP GetWindow(HWND *window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override;

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override;
  STDMETHODIMP OnInPlaceActivate() override;
  STDMETHODIMP OnUIActivate() override;
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame **frame, IOleInPlaceUIWindow **document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) override;
  STDMETHODIMP Scroll(SIZE) override;
  STDMETHODIMP OnUIDeactivate(BOOL) override;
  STDMETHODIMP OnInPlaceDeactivate() override;
  STDMETHODIMP DiscardUndoState() override;
  STDMETHODIMP DeactivateAndUndo() override;
  STDMETHODIMP OnPosRectChange(LPCRECT) override;

  // IOleInPlaceUIWindow, IOleInPlaceFrame
  STDMETHODIMP GetBorder(LPRECT) override;
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override;
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override;
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject *, LPCOLESTR) override;
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override;
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override;
  STDMETHODIMP RemoveMenus(HMENU) override;
  STDMETHODIMP SetStatusText(LPCOLESTR) override;
  STDMETHODIMP EnableModeless(BOOL) override;
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override;

 private:
  ~FlashControlSite() = default;

  LONG references_ = 1;
  HWND host_ = nullptr;
  RECT position_ = {0, 0, 0, 0};
};

#endif
