#include "flash/flashPlayerSetup.h"

#include "common/logFile.h"
#include "flash/QRX_FlashUtils.h"

namespace {

// Where a window is out of sight on any screen.
const int OFF_SCREEN = -3000;

}  // namespace

int32_t handleFlashActiveXControlUpdate(const std::string &name, HWND installerWindow, bool silent) {
  TraceScope trace("handleFlashActiveXControlUpdate");
  int32_t status = runFlashAXInstaller(name, true, installerWindow);
  // The installer is not waited for: the probes give it about ten seconds.
  if (status == 0) status = confirmFlashPlayerInstalled(INSTALLER_FLASH_PROBES);
  // Let the user see what the installer has to say.
  if (status != 0 && !silent) runFlashAXInstaller(name, false, installerWindow);
  return trace.result(status);
}

FlashPlayerSteps flashPlayerStepsFor(HWND installerWindow, std::function<int32_t()> extractFlashInstaller,
                                     bool silent) {
  FlashPlayerSteps steps;
  steps.getFlashPlayerVersion = getFlashPlayerVersion;
  steps.verifyFlashAXInstallerCanRunOnThisMachine = verifyFlashAXInstallerCanRunOnThisMachine;
  steps.extractFlashInstaller = std::move(extractFlashInstaller);
  steps.handleFlashActiveXControlUpdate = [installerWindow, silent](const std::string &name) {
    return handleFlashActiveXControlUpdate(name, installerWindow, silent);
  };
  steps.moveInstallerWindowOffScreen = [installerWindow] {
    SetWindowPos(installerWindow, nullptr, OFF_SCREEN, OFF_SCREEN, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  return steps;
}
