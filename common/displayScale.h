// Layouts are designed in pixels of a 96 dots-per-inch screen; this scales
// them to the dots per inch of the monitor a window is on, so the window has
// the same physical size on every screen.
#ifndef SAVER_COMMON_DISPLAY_SCALE_H
#define SAVER_COMMON_DISPLAY_SCALE_H

const int DESIGN_DPI = 96;

// designPixels at dpi, rounded to the nearest pixel, halves away from zero
// (as the system's MulDiv). A dpi of DESIGN_DPI, or one that is not positive,
// leaves the value as it is.
int scaledToDpi(int designPixels, int dpi);

#endif
