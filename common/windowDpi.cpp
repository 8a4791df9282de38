#include "common/windowDpi.h"

#include "common/displayScale.h"
#include "common/librarySearch.h"

namespace {

typedef UINT(WINAPI *GetDpiForWindowFunction)(HWND);
typedef HRESULT(WINAPI *GetDpiForMonitorFunction)(HMONITOR, int, UINT *, UINT *);
const int EFFECTIVE_DPI = 0;  // MDT_EFFECTIVE_DPI: the DPI the user chose for the monitor

// The functions are looked up by name: the programs also run on systems
// that lack them, where a static import would stop them from starting.
int dpiOfWindowItself(HWND window) {
  const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  return getDpiForWindow == nullptr ? 0 : static_cast<int>(getDpiForWindow(window));
}

int dpiOfMonitor(HMONITOR monitor) {
  HMODULE shcore = loadSystemLibrary("shcore.dll");
  if (shcore == nullptr) return 0;
  const auto getDpiForMonitor = reinterpret_cast<GetDpiForMonitorFunction>(
      reinterpret_cast<void *>(GetProcAddress(shcore, "GetDpiForMonitor")));
  UINT dpiX = 0, dpiY = 0;
  if (getDpiForMonitor == nullptr || FAILED(getDpiForMonitor(monitor, EFFECTIVE_DPI, &dpiX, &dpiY)))
    dpiY = 0;
  FreeLibrary(shcore);
  return static_cast<int>(dpiY);
}

int dpiOfScreen() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen == nullptr ? 0 : GetDeviceCaps(screen, LOGPIXELSY);
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

int windowDpi(HWND window) {
  int dpi = window != nullptr ? dpiOfWindowItself(window) : 0;
  if (dpi <= 0) {
    const POINT origin = {0, 0};
    dpi = dpiOfMonitor(window != nullptr ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                                         : MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY));
  }
  if (dpi <= 0) dpi = dpiOfScreen();
  return dpi > 0 ? dpi : DESIGN_DPI;
}
