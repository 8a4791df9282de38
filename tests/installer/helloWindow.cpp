// The smallest program with a window, built like the installer: the yardstick
// for how long Wine takes to show any window at all.
#include <windows.h>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "THelloWindow";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "THelloWindow", "Hello", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300,
                                200, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
