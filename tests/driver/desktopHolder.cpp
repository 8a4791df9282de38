// Keeps Wine's desktop in use while the Windows tests run one after another.
//
// Wine closes a desktop about a second after the last process using it has
// ended, and its explorer quits. Every test runs in a process of its own, so
// between two tests the desktop is often unused, and a test that starts just
// as it is torn down races that: its windows may never appear, and a modal
// dialog then returns at once. The test runner starts this program first and ends it
// last. It prints "ready" once a window could be made, which starts the
// desktop and loads the display driver, and exits with 1 if it could not.
#include <windows.h>

#include <cstdio>

int main() {
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) {
    std::fprintf(stderr, "no window could be made on the desktop (error %lu)\n", GetLastError());
    return 1;
  }
  // The process, not the window, is what keeps the desktop in use.
  DestroyWindow(window);
  std::printf("ready\n");
  std::fflush(stdout);
  Sleep(INFINITE);
  return 0;
}
