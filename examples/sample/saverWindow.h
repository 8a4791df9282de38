// The sample saver's window: the pictures as a slideshow, or bands of light
// drifting across it when there are none. Full screen it ends on input; as a
// preview it lives inside the given window and ends when that window goes.
#ifndef SAVER_EXAMPLES_SAVER_WINDOW_H
#define SAVER_EXAMPLES_SAVER_WINDOW_H

#include "examples/sample/sampleSettings.h"

#include <windows.h>

#include <string>
#include <vector>

// The window class, for whoever looks for the saver's window.
extern const char SAVER_WINDOW_CLASS[];

// Runs the saver over the whole screen until a key, a click or a mouse move
// beyond the threshold. 0, or the system's error when no window could be made.
int32_t runFullScreen(const SampleSettings &settings, const std::vector<std::string> &pictures);

// Runs the saver as a child of parent, filling its client area, until parent
// is gone. 0, or the system's error.
int32_t runPreview(HWND parent, const SampleSettings &settings, const std::vector<std::string> &pictures);

#endif
