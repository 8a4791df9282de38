// The installer's end of the launcher messages: it is told the launcher's
// hidden window from "/l=" on its command line, sends it text commands and
// finally tells it to close.
#ifndef SAVER_INSTALLER_LAUNCHER_LINK_H
#define SAVER_INSTALLER_LAUNCHER_LINK_H

#include <windows.h>

#include "package/packageProperties.h"

#include <cstdint>
#include <string>

// The launcher's window handle, as "/l=" gave it; until then, or with 0, no
// launcher is known.
void useLauncherWindow(uint32_t handle);

// Sends the command (its bytes up to the end of the string, which may hold a
// NUL of its own, plus a terminating NUL) with WM_COPYDATA and waits until the
// launcher has carried it out. The launcher's reply, or STATUS_NOT_DONE when no launcher
// is known.
int32_t sendCommandToLauncher(HWND ownMainWindow, const std::string &command);

// The text of the make-active command for a screen saver in the system
// folder, or the user's saver folder for the user's own; it ends in a NUL of
// its own, so that the bytes sent end in two.
std::string makeActiveSaverCommand(const std::string &saverFileName,
                                   InstallScope scope = InstallScope::machine);

// The text of the command that asks the launcher to open the placed read-me.
std::string openReadMeCommand(const std::string &readMePath);

// Posts WM_Close_Launcher to the launcher, if one is known; does not wait.
void notifyLauncherClose();

#endif
