// Finding the installed Flash Player (the Shockwave Flash ActiveX control)
// and its version, and running a carried Flash Player installer. Windows only;
// the rules they follow are in flash/flashPlayerPolicy.h.
#ifndef SAVER_FLASH_QRX_FLASH_UTILS_H
#define SAVER_FLASH_QRX_FLASH_UTILS_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "flash/flashPlayerPolicy.h"

// The file that implements the control, from its class registration under
// HKEY_CLASSES_ROOT. A key that cannot be opened with full access counts as
// absent. 0, or FLASH_PLAYER_NOT_FOUND when no path is registered.
int32_t getFlashOCXFilePath(std::string &path);

// Major version and revision from the version resource of the control's file;
// version.found becomes true when the file exists and is left alone otherwise.
// The status is that of getFlashOCXFilePath.
int32_t getFlashPlayerVersionInfoFromFileProperties(FlashPlayerVersion &version);

// Creates the control and asks it for "$version", pausing 500 ms before each
// of up to attempts tries. The first answer is kept for the whole process and
// served at once afterwards. 0, or FLASH_PLAYER_NOT_FOUND when no answer came.
int32_t getFlashPlayerVersionFromControl(FlashPlayerVersion &version, int32_t attempts);

// The file properties first; the control only when they give no major version.
FlashPlayerVersion getFlashPlayerVersion(int32_t attempts);

// 0 when the control answers within attempts probes (or answered before).
int32_t confirmFlashPlayerInstalled(int32_t attempts);

// FLASH_INSTALLER_NOT_FOR_NT on Windows NT for a carried installer of Flash
// Player 8 or later.
int32_t verifyFlashAXInstallerCanRunOnThisMachine(int32_t requiredMajor);

// Starts pathWorkFolder + name through the shell without waiting for it:
// silently with "/s" or "/Q", or interactively. owner is the installer's main
// window, brought back to the front after a silent start.
// FLASH_INSTALLER_MISSING when the file is missing, STATUS_OUT_OF_MEMORY or the
// shell's error code when it does not start.
int32_t runFlashAXInstaller(const std::string &name, bool silent, HWND owner);

#endif
