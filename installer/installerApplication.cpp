#include "installer/installerApplication.h"

namespace {

const char APPLICATION_CLASS[] = "TApplication";
const int OUT_OF_SIGHT = -32000;

HWND application = nullptr;

// The right mouse button pressed: its menus would act on the movie.
bool isDiscarded(const MSG &message) { return message.message == WM_RBUTTONDOWN; }

}  // namespace

void createApplicationWindow(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = APPLICATION_CLASS;
  RegisterClassA(&windowClass);
  application = CreateWindowExA(0, APPLICATION_CLASS, "", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                OUT_OF_SIGHT, OUT_OF_SIGHT, 0, 0, nullptr, nullptr, instance, nullptr);
}

HWND applicationWindow() { return application; }

void setApplicationTitle(const std::string &title) { SetWindowTextA(application, title.c_str()); }

void showApplicationInTaskBar() {
  if (application != nullptr && !IsWindowVisible(application))
    ShowWindow(application, SW_SHOWNOACTIVATE);
}

void dispatchUnlessDiscarded(const MSG &message) {
  if (isDiscarded(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

void processPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    dispatchUnlessDiscarded(message);
  }
}

int runMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) dispatchUnlessDiscarded(message);
  return static_cast<int>(message.wParam);
}

void bringApplicationToFront(HWND window) {
  if (window != nullptr && IsWindowVisible(window)) SetForegroundWindow(window);
}
