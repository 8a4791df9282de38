// The launcher's shape with nothing inside: a hidden window, then the
// program named on the command line started through the shell, as the
// launcher starts the installer. Started with the hello-world window, it is
// the yardstick for two program starts in a row, below which no launcher
// and installer pair can show a window.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "THelloLauncher";
  RegisterClassA(&windowClass);
  HWND window =
      CreateWindowExA(0, "THelloLauncher", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (window == nullptr || __argc < 2) return 1;
  const std::string program = __argv[1];
  SHELLEXECUTEINFOA execute = {};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  execute.lpFile = program.c_str();
  execute.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&execute)) return 1;
  WaitForSingleObject(execute.hProcess, INFINITE);
  CloseHandle(execute.hProcess);
  DestroyWindow(window);
  return 0;
}
