// The installer window's Flash Player steps: running the carried installer
// until the player answers, and the system effects of its start-up decision
// (decideFlashPlayerAction, flash/flashPlayerPolicy.h). Windows only.
#ifndef SAVER_FLASH_FLASH_PLAYER_SETUP_H
#define SAVER_FLASH_FLASH_PLAYER_SETUP_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "flash/flashPlayerPolicy.h"

// Runs the carried installer silently and probes the control for up to 20
// attempts; when either fails, runs the installer again for the user to see,
// unless the run shows nothing at all (silent). The status is that of the
// failure, FLASH_PLAYER_NOT_FOUND when the player never answered.
int32_t handleFlashActiveXControlUpdate(const std::string &name, HWND installerWindow, bool silent);

// The real steps for decideFlashPlayerAction. extractFlashInstaller extracts
// the carried installer (package entry 2) into the work folder.
FlashPlayerSteps flashPlayerStepsFor(HWND installerWindow, std::function<int32_t()> extractFlashInstaller,
                                     bool silent);

#endif
