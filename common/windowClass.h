// Registration of the window classes of both programs' own windows.
#pragma once

#include <windows.h>

// Registers a class with the arrow cursor and the dialog face as background,
// unless a class of that name is already registered for the instance, so a
// second window of the same kind can be made. False when the class cannot be
// registered.
bool registerWindowClass(HINSTANCE instance, const char *name, WNDPROC procedure);

// The same for a window that shows text in any language: its procedure
// passes on to DefWindowProcW.
bool registerUnicodeWindowClass(HINSTANCE instance, const wchar_t *name, WNDPROC procedure);
