// The rules of Flash Player detection and update: the player's version text,
// whether the carried installer (common/carriedFlashInstallers.h) must run,
// and how it is started. Portable; the
// system effects come in through FlashPlayerSteps (see QRX_FlashUtils.h for
// the Windows ones).
#ifndef SAVER_FLASH_FLASH_PLAYER_POLICY_H
#define SAVER_FLASH_FLASH_PLAYER_POLICY_H

#include "common/carriedFlashInstallers.h"
#include "common/statusCodes.h"

#include <cstdint>
#include <functional>
#include <string>

// Probes through the control: at start-up and after running the installer,
// and by the movie panel.
const int32_t INSTALLER_FLASH_PROBES = 20;
const int32_t MOVIE_PANEL_FLASH_PROBES = 1000;

struct FlashPlayerVersion {
  bool found = false;
  int32_t major = 0;
  int32_t revision = 0;  // third number of the four-part version
};

// Reads major and revision from the player's "$version" text, such as
// "WIN 9,0,124,0": items are split at commas and white space (a double-quoted
// part is one item); the second is the major version, the fourth the
// revision. False when an item is missing or not a decimal number.
bool parseFlashVersionString(const std::string &text, int32_t &major, int32_t &revision);

enum class FlashPlayerAction { nothingToDo, majorUpdate, minorUpdate, cleanInstall, tellUserToGetPlayer };

FlashPlayerAction chooseFlashPlayerAction(const FlashPlayerVersion &installed, bool carriesInstaller,
                                          int32_t requiredMajor, int32_t requiredRevision);

// FLASH_INSTALLER_NOT_FOR_NT for a carried installer of Flash Player 8 or later
// on Windows NT (operating-system code 4), else 0.
int32_t flashInstallerSystemStatus(int32_t operatingSystem, int32_t requiredMajor);

// Command-line parameters for a run of the carried installer: none for an
// interactive run; for a silent one "/s" for the two known installer names,
// else "/Q".
std::string flashInstallerParameters(const std::string &name, bool silent);

// The status of a shell start from the shell's result: 0 above 32,
// STATUS_OUT_OF_MEMORY for 0, else the shell's error code.
int32_t shellStartStatus(uintptr_t shellResult);

// What the installer window knows of the carried installer, and what the
// decision leaves for it.
struct FlashPlayerDecision {
  bool carriesFlashInstaller = false;
  uint8_t flashInstallerVersionIndex = 0;
  std::string flashInstallerName;  // file name of package entry 2
  FlashPlayerVersion installed;
  int32_t requiredFlashMajor = 0;
  int32_t requiredFlashRevision = 0;
  bool flashUpdateNeeded = false;
};

// The system effects the decision uses.
struct FlashPlayerSteps {
  std::function<FlashPlayerVersion(int32_t attempts)> getFlashPlayerVersion;
  std::function<int32_t(int32_t requiredMajor)> verifyFlashAXInstallerCanRunOnThisMachine;
  std::function<int32_t()> extractFlashInstaller;
  std::function<int32_t(const std::string &name)> handleFlashActiveXControlUpdate;
  std::function<void()> moveInstallerWindowOffScreen;
};

// The installer's start-up step: detect the player, check the carried installer
// against the system, extract it, decide, and run it when needed. A failed
// update gives FLASH_PLAYER_INSTALL_FAILED with the installer window moved out
// of sight.
int32_t decideFlashPlayerAction(FlashPlayerDecision &decision, const FlashPlayerSteps &steps);

#endif
