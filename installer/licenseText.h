// The licence box: a read-only rich-text control that shows the licence file,
// formatted when it is in Rich Text Format, as plain text otherwise.
#ifndef SAVER_INSTALLER_LICENSE_TEXT_H
#define SAVER_INSTALLER_LICENSE_TEXT_H

#include <windows.h>

#include <string>

// A hidden, read-only rich-text control with a vertical scroll bar only.
HWND createLicenseBox(HWND parent, HINSTANCE instance);

// Loads the file into the box; false when it cannot be read.
bool loadLicenseFile(HWND box, const std::string &path);

#endif
