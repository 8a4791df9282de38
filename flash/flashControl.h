// TShockwaveFlash: the Flash ActiveX control, reached through its dispatch
// interface, optionally embedded in a window by in-place activation.
//
// Every call returns the COM result; a call on a wrapper without a control
// gives OLE_E_BLANK. Destroying the wrapper destroys the control.
#ifndef SAVER_FLASH_FLASH_CONTROL_H
#define SAVER_FLASH_FLASH_CONTROL_H

#include <ole2.h>

#include <cstdint>
#include <string>

class FlashControlSite;

// The player's control class, the one home of its identifier.
extern const CLSID CLSID_ShockwaveFlash;

class TShockwaveFlash {
 public:
  TShockwaveFlash() = default;
  ~TShockwaveFlash();
  TShockwaveFlash(const TShockwaveFlash &) = delete;
  TShockwaveFlash &operator=(const TShockwaveFlash &) = delete;

  // Creates the control, without a window. Fails when it is not registered.
  HRESULT create();

  // Opens the control's window as a child of host at (0, 0, width, height).
  HRESULT placeInWindow(HWND host, int width, int height);

  // The control's own window while it is placed in one.
  HWND window() const;

  // OLEIVERB_HIDE, OLEIVERB_SHOW and the like, relative to the host window.
  HRESULT doVerb(LONG verb);

  HRESULT setScaleMode(int32_t mode);
  HRESULT setWMode(const std::string &mode);
  HRESULT setMenu(bool shown);
  HRESULT setMovie(const std::string &path);
  HRESULT setVariable(const std::string &name, const std::string &value);
  HRESULT getVariable(const std::string &name, std::string &value);
  HRESULT play();
  HRESULT stopPlay();

 private:
  // The control's in-place interface with a reference for the caller, or null.
  IOleInPlaceObject *inPlaceObject() const;
  HRESULT putProperty(DISPID id, VARIANT &value);
  HRESULT putTextProperty(DISPID id, const std::string &text);
  HRESULT callMethod(const wchar_t *name, VARIANT *arguments, UINT count, VARIANT *result);
  void destroy();

  bool oleInitialized_ = false;
  IOleObject *object_ = nullptr;
  IDispatch *dispatch_ = nullptr;
  FlashControlSite *site_ = nullptr;
};

#endif
