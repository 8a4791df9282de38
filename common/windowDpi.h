// The dots per inch of the monitor a window is on, asked the way each
// Windows version answers it.
#ifndef SAVER_COMMON_WINDOW_DPI_H
#define SAVER_COMMON_WINDOW_DPI_H

#include <windows.h>

// Windows 10 knows each window's own DPI, Windows 8.1 each monitor's; older
// systems have one DPI for the whole screen. A null window asks for the
// primary monitor, where new windows open.
int windowDpi(HWND window);

// WM_DPICHANGED (Windows 8.1 and later; the programs are built for older
// headers): a per-monitor aware window moved to a monitor of another DPI, or
// the user changed it. The new DPI is in the high word of wParam, lParam
// points at the suggested window rectangle.
const UINT DPI_CHANGED_MESSAGE = 0x02E0;

#endif
