#include "common/windowClass.h"

bool registerWindowClass(HINSTANCE instance, const char *name, WNDPROC procedure) {
  WNDCLASSA windowClass = {};
  if (GetClassInfoA(instance, name, &windowClass)) return true;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  return RegisterClassA(&windowClass) != 0;
}

bool registerUnicodeWindowClass(HINSTANCE instance, const wchar_t *name, WNDPROC procedure) {
  WNDCLASSW windowClass = {};
  if (GetClassInfoW(instance, name, &windowClass)) return true;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  return RegisterClassW(&windowClass) != 0;
}
