#include "flash/flashControl.h"

#include <ocidl.h>

#include "flash/flashControlSite.h"

// {D27CDB6E-AE6D-11CF-96B8-444553540000}
const CLSID CLSID_ShockwaveFlash = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

// {D27CDB6C-AE6D-11CF-96B8-444553540000}, the control's dispatch interface
const IID IID_ShockwaveFlashDispatch = {
    0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// The control's published property ids. Its methods are looked up by name.
const DISPID DISPID_MOVIE = 102;
const DISPID DISPID_SCALE_MODE = 120;
const DISPID DISPID_WMODE = 133;
const DISPID DISPID_MENU = 135;

const int HIMETRIC_PER_INCH = 2540;

// A VARIANT holding text as a wide string in the system code page's reading.
VARIANT wideText(const std::string &text) {
  VARIANT value;
  VariantInit(&value);
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  value.bstrVal = SysAllocStringLen(nullptr, length);
  if (value.bstrVal) {
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), value.bstrVal, length);
    value.vt = VT_BSTR;
  }
  return value;
}

std::string narrowText(BSTR text) {
  const int length = static_cast<int>(SysStringLen(text));
  int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string result(size, '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, text, length, result.data(), size, nullptr, nullptr);
  return result;
}

// Pixels of the screen to the hundredths of millimetres OLE sizes are given in.
SIZEL himetricOf(int width, int height) {
  HDC screen = GetDC(nullptr);
  int dotsX = GetDeviceCaps(screen, LOGPIXELSX), dotsY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  SIZEL size = {MulDiv(width, HIMETRIC_PER_INCH, dotsX), MulDiv(height, HIMETRIC_PER_INCH, dotsY)};
  return size;
}

}  // namespace

TShockwaveFlash::~TShockwaveFlash() { destroy(); }

HRESULT TShockwaveFlash::create() {
  if (object_) return S_OK;
  // Embedding needs OLE on this thread; the count is given back in destroy().
  oleInitialized_ = SUCCEEDED(OleInitialize(nullptr));
  HRESULT result = CoCreateInstance(CLSID_ShockwaveFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                    reinterpret_cast<void **>(&object_));
  if (SUCCEEDED(result)) {
    // Controls that want their site before their state get it first.
    site_ = new FlashControlSite();
    result = object_->SetClientSite(site_);
  }
  IPersistStreamInit *state = nullptr;
  if (SUCCEEDED(result) &&
      SUCCEEDED(object_->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void **>(&state)))) {
    result = state->InitNew();
    state->Release();
  }
  if (SUCCEEDED(result))
    result = object_->QueryInterface(IID_ShockwaveFlashDispatch, reinterpret_cast<void **>(&dispatch_));
  if (FAILED(result)) destroy();
  return result;
}

HRESULT TShockwaveFlash::placeInWindow(HWND host, int width, int height) {
  if (!object_) return OLE_E_BLANK;
  site_->placeIn(host, width, height);
  SIZEL extent = himetricOf(width, height);
  object_->SetExtent(DVASPECT_CONTENT, &extent);  // a control that sizes itself may refuse
  return doVerb(OLEIVERB_INPLACEACTIVATE);
}

IOleInPlaceObject *TShockwaveFlash::inPlaceObject() const {
  IOleInPlaceObject *inPlace = nullptr;
  if (object_ &&
      FAILED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void **>(&inPlace))))
    inPlace = nullptr;
  return inPlace;
}

HWND TShockwaveFlash::window() const {
  HWND window = nullptr;
  IOleInPlaceObject *inPlace = inPlaceObject();
  if (inPlace) {
    if (FAILED(inPlace->GetWindow(&window))) window = nullptr;
    inPlace->Release();
  }
  return window;
}

HRESULT TShockwaveFlash::doVerb(LONG verb) {
  if (!object_) return OLE_E_BLANK;
  return object_->DoVerb(verb, nullptr, site_, 0, site_->host(), &site_->position());
}

HRESULT TShockwaveFlash::setScaleMode(int32_t mode) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_I4;
  value.lVal = mode;
  return putProperty(DISPID_SCALE_MODE, value);
}

HRESULT TShockwaveFlash::setWMode(const std::string &mode) { return putTextProperty(DISPID_WMODE, mode); }

HRESULT TShockwaveFlash::setMenu(bool shown) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BOOL;
  value.boolVal = shown ? VARIANT_TRUE : VARIANT_FALSE;
  return putProperty(DISPID_MENU, value);
}

HRESULT TShockwaveFlash::setMovie(const std::string &path) { return putTextProperty(DISPID_MOVIE, path); }

HRESULT TShockwaveFlash::setVariable(const std::string &name, const std::string &value) {
  VARIANT arguments[2] = {wideText(value), wideText(name)};  // last argument first
  HRESULT result = callMethod(L"SetVariable", arguments, 2, nullptr);
  VariantClear(&arguments[0]);
  VariantClear(&arguments[1]);
  return result;
}

HRESULT TShockwaveFlash::getVariable(const std::string &name, std::string &value) {
  VARIANT argument = wideText(name), answer;
  VariantInit(&answer);
  HRESULT result = callMethod(L"GetVariable", &argument, 1, &answer);
  if (SUCCEEDED(result)) result = VariantChangeType(&answer, &answer, 0, VT_BSTR);
  if (SUCCEEDED(result)) value = narrowText(answer.bstrVal);
  VariantClear(&argument);
  VariantClear(&answer);
  return result;
}

HRESULT TShockwaveFlash::play() { return callMethod(L"Play", nullptr, 0, nullptr); }

HRESULT TShockwaveFlash::stopPlay() { return callMethod(L"StopPlay", nullptr, 0, nullptr); }

HRESULT TShockwaveFlash::putProperty(DISPID id, VARIANT &value) {
  if (!dispatch_) return OLE_E_BLANK;
  if (value.vt == VT_EMPTY) return E_OUTOFMEMORY;  // the text could not be copied
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS parameters = {&value, &named, 1, 1};
  return dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &parameters, nullptr,
                           nullptr, nullptr);
}

HRESULT TShockwaveFlash::putTextProperty(DISPID id, const std::string &text) {
  VARIANT value = wideText(text);
  HRESULT result = putProperty(id, value);
  VariantClear(&value);
  return result;
}

HRESULT TShockwaveFlash::callMethod(const wchar_t *name, VARIANT *arguments, UINT count, VARIANT *result) {
  if (!dispatch_) return OLE_E_BLANK;
  for (UINT i = 0; i < count; ++i)
    if (arguments[i].vt == VT_EMPTY) return E_OUTOFMEMORY;
  DISPID id;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT outcome = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(outcome)) return outcome;
  DISPPARAMS parameters = {arguments, nullptr, count, 0};
  return dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, result, nullptr,
                           nullptr);
}

// Takes the control out of its window and closes it before letting go of
// it, and of the site last.
void TShockwaveFlash::destroy() {
  if (dispatch_) dispatch_->Release();
  dispatch_ = nullptr;
  if (object_) {
    IOleInPlaceObject *inPlace = inPlaceObject();
    if (inPlace) {
      inPlace->InPlaceDeactivate();
      inPlace->Release();
    }
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_->Release();
    object_ = nullptr;
  }
  if (site_) site_->Release();
  site_ = nullptr;
  if (oleInitialized_) OleUninitialize();
  oleInitialized_ = false;
}
