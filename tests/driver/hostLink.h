// What the host side of Wine does for a test: small drives; links, since Wine 8 creates
// no symbolic link or junction itself (CreateSymbolicLinkA reports success
// and makes nothing, FSCTL_SET_REPARSE_POINT is not supported) but shows a
// host symbolic link to a folder as a reparse point; and keys pressed on the
// X display, as a user's keyboard would.
#ifndef SAVER_TESTS_DRIVER_HOST_LINK_H
#define SAVER_TESTS_DRIVER_HOST_LINK_H

#include <functional>
#include <string>

namespace driver {

// Makes link (a Windows path with no trailing "\") a host symbolic link to
// target; true when the link is there afterwards.
bool makeHostLink(const std::string &target, const std::string &link);

// Removes the host link itself: under Wine 8 the Windows deletion calls
// follow it.
bool removeHostLink(const std::string &link);

// Makes drive letter a memory volume of megabytes, as a second disk; true
// once Windows sees its size. Only root may mount: false otherwise. A volume
// mounted in a folder would not do: Windows and Wine show such a folder as a
// reparse point, below which the elevated programs write nothing.
bool mountHostDrive(char letter, unsigned megabytes);

// Takes the drive and its volume away again.
bool unmountHostDrive(char letter);

// Fills the volume of folder to its last byte, as another program writing
// would; true once Windows sees no space left there.
bool fillHostVolume(const std::string &folder);

// Presses keys (xdotool's names, e.g. "Tab", "shift+Tab", "Return") in the
// window that has the X focus; true once done holds, polled for some seconds.
bool pressHostKeys(const std::string &keys, const std::function<bool()> &done);

}  // namespace driver

#endif
