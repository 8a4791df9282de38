// The licence box: a read-only rich-text control that shows the licence file,
// formatted when it is in Rich Text Format, as plain text otherwise.
#ifndef SAVER_INSTALLER_LICENSE_TEXT_H
#define SAVER_INSTALLER_LICENSE_TEXT_H

#include <windows.h>

#include <cstdint>
#include <string>

// A hidden, read-only rich-text control with a vertical scroll bar only, a
// tab stop that leaves Tab, Enter and Esc to the window, after a label of no
// size that names it for screen readers; both follow after in the tab order.
HWND createLicenseBox(HWND parent, HINSTANCE instance, HWND after);

// The longest licence the box is given: far more than any licence, and few
// enough bytes for the box and its copy to fit in memory.
constexpr uint64_t LARGEST_LICENSE_BYTES = 16u << 20;

enum class LicenseLoad { Shown, TooLarge, Unreadable };

// Loads the file into the box. A file longer than LARGEST_LICENSE_BYTES is
// not read: the box says so and names the file instead.
LicenseLoad loadLicenseFile(HWND box, const std::string &path);

#endif
