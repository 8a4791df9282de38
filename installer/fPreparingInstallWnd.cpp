#include "installer/fPreparingInstallWnd.h"

#include "common/displayScale.h"
#include "common/unicodeText.h"
#include "common/windowClass.h"
#include "common/windowDpi.h"
#include "installer/installerFont.h"
#include "installer/installerLayout.h"
#include "installer/stringTable.h"
#include "installer/installerApplication.h"

namespace {

const wchar_t WINDOW_CLASS[] = L"TpreparingInstallWnd";
const int CLIENT_WIDTH = 264;
const int CLIENT_HEIGHT = 91;
// Out of sight on any screen.
const int CREATED_LEFT = -1560;
const int CREATED_TOP = -3000;
const int OFF_SCREEN = -3000;
const DWORD WINDOW_STYLE = WS_CAPTION | WS_SYSMENU;

}  // namespace

TpreparingInstallWnd::TpreparingInstallWnd(HINSTANCE instance, bool visible) {
  registerUnicodeWindowClass(instance, WINDOW_CLASS, windowProc);
  // Made for the primary monitor; its own monitor's DPI is known once it exists.
  const int primaryDpi = windowDpi(nullptr);
  RECT frame = {0, 0, scaledToDpi(CLIENT_WIDTH, primaryDpi), scaledToDpi(CLIENT_HEIGHT, primaryDpi)};
  AdjustWindowRectEx(&frame, WINDOW_STYLE, FALSE, 0);
  window_ = CreateWindowExW(0, WINDOW_CLASS, L"", WINDOW_STYLE | (visible ? WS_VISIBLE : 0), CREATED_LEFT,
                            CREATED_TOP, frame.right - frame.left, frame.bottom - frame.top,
                            applicationWindow(), nullptr, instance, this);
  // A static control centres one line only vertically with SS_CENTERIMAGE.
  label1_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, 0, 0, 0,
                            0, window_, nullptr, instance, nullptr);
  scaleTo(windowDpi(window_));
  // Unpainted: the start-up replaces it at once, and that paints.
  SetWindowTextW(label1_, wideFromUtf8(programText(IDS_PREPARING_WINDOW_FIRST)).c_str());
}

TpreparingInstallWnd::~TpreparingInstallWnd() {
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
  if (font_ != nullptr) DeleteObject(font_);
}

void TpreparingInstallWnd::scaleTo(int dpi) {
  HFONT previous = font_;
  font_ = createInstallerFont(dpi);
  SendMessageA(label1_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  if (previous != nullptr) DeleteObject(previous);
  const int clientWidth = scaledToDpi(CLIENT_WIDTH, dpi), clientHeight = scaledToDpi(CLIENT_HEIGHT, dpi);
  RECT frame, client;
  GetWindowRect(window_, &frame);
  GetClientRect(window_, &client);
  resizeWindow(window_, clientWidth + (frame.right - frame.left) - client.right,
               clientHeight + (frame.bottom - frame.top) - client.bottom);
  MoveWindow(label1_, 0, 0, clientWidth, clientHeight, TRUE);
}

// The window has no close handling of its own: its close box hides nothing
// and ends nothing, the installer decides when the program ends.
LRESULT CALLBACK TpreparingInstallWnd::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrA(
        window, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA *>(lParam)->lpCreateParams));
  auto *self = reinterpret_cast<TpreparingInstallWnd *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_CLOSE:
      return 0;
    case WM_SETCURSOR:
      if (setBusyCursorIfBusy()) return TRUE;
      break;
    case DPI_CHANGED_MESSAGE: {
      const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      if (self != nullptr) self->scaleTo(HIWORD(wParam));
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void TpreparingInstallWnd::setCaption(const std::string &caption) {
  SetWindowTextW(window_, wideFromUtf8(caption).c_str());
}

void TpreparingInstallWnd::setMessage(const std::string &text) {
  SetWindowTextW(label1_, wideFromUtf8(text).c_str());
  repaint();
}

void TpreparingInstallWnd::repaint() {
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TpreparingInstallWnd::moveOffScreen() {
  SetWindowPos(window_, nullptr, OFF_SCREEN, OFF_SCREEN, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TpreparingInstallWnd::centerOnScreen() {
  RECT frame;
  GetWindowRect(window_, &frame);
  const int left = centredOrigin(GetSystemMetrics(SM_CXSCREEN), frame.right - frame.left);
  const int top = centredOrigin(GetSystemMetrics(SM_CYSCREEN), frame.bottom - frame.top);
  SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  showApplicationInTaskBar();
  processPendingMessages();
}
