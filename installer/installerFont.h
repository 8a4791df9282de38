// The font of the installer's windows, made for the DPI of a window's monitor.
#ifndef SAVER_INSTALLER_INSTALLER_FONT_H
#define SAVER_INSTALLER_INSTALLER_FONT_H

#include <windows.h>

// "MS Sans Serif", 8 points: 11 pixels high at 96 DPI, scaled to dpi. The
// caller deletes the font once no window uses it.
HFONT createInstallerFont(int dpi);

#endif
