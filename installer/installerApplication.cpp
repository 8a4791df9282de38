#include "installer/installerApplication.h"

#include "common/unicodeText.h"

namespace {

const wchar_t APPLICATION_CLASS[] = L"TApplication";
const int OUT_OF_SIGHT = -32000;

HWND application = nullptr;
HWND mainWindow = nullptr;
int busyScopes = 0;

// The right mouse button pressed: its menus would act on the movie.
bool isDiscarded(const MSG &message) { return message.message == WM_RBUTTONDOWN; }

// The task bar's "Close window" and Alt+F4 close the application window;
// the main window decides, as for its own close box.
LRESULT CALLBACK applicationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CLOSE) return DefWindowProcW(window, message, wParam, lParam);
  if (mainWindow != nullptr) SendMessageA(mainWindow, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace

void createApplicationWindow(HINSTANCE instance) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = applicationProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = APPLICATION_CLASS;
  RegisterClassW(&windowClass);
  application = CreateWindowExW(0, APPLICATION_CLASS, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU, OUT_OF_SIGHT,
                                OUT_OF_SIGHT, 0, 0, nullptr, nullptr, instance, nullptr);
}

HWND applicationWindow() { return application; }

void setApplicationMainWindow(HWND window) { mainWindow = window; }

HWND applicationMainWindow() { return mainWindow; }

BusyCursor::BusyCursor() : remembered_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) { ++busyScopes; }

BusyCursor::~BusyCursor() { end(); }

void BusyCursor::end() {
  if (ended_) return;
  ended_ = true;
  --busyScopes;
  SetCursor(remembered_);
}

bool applicationBusy() { return busyScopes > 0; }

bool setBusyCursorIfBusy() {
  if (!applicationBusy()) return false;
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  return true;
}

void setApplicationTitle(const std::string &title) {
  SetWindowTextW(application, wideFromUtf8(title).c_str());
}

void showApplicationInTaskBar() {
  if (application != nullptr && !IsWindowVisible(application)) ShowWindow(application, SW_SHOWNOACTIVATE);
}

void dispatchUnlessDiscarded(const MSG &message) {
  if (isDiscarded(message)) return;
  // The main window's keys: Tab, Enter, Esc and the buttons' letters.
  MSG keyboard = message;
  if (mainWindow != nullptr && IsDialogMessageW(mainWindow, &keyboard)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void processPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    dispatchUnlessDiscarded(message);
  }
}

int runMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatchUnlessDiscarded(message);
  return static_cast<int>(message.wParam);
}

void resizeWindow(HWND window, int width, int height) {
  RECT frame;
  GetWindowRect(window, &frame);
  if (frame.right - frame.left == width && frame.bottom - frame.top == height) return;
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void bringApplicationToFront(HWND window, HWND otherwise) {
  if (window != nullptr && IsWindowVisible(window))
    SetForegroundWindow(window);
  else if (otherwise != nullptr && IsWindowVisible(otherwise))
    SetForegroundWindow(otherwise);
}
