// A carried Flash Player installer on Windows NT 4: run in a 32-bit Wine
// prefix that reports NT 4.0, where the installer must be refused before
// anything is extracted.
#include <gtest/gtest.h>

#include "common/QRX_OSUtils.h"
#include "flash/QRX_FlashUtils.h"
#include "flash/flashPlayerSetup.h"

namespace {

TEST(FlashInstallerOnNt4, RefusedFromFlashPlayer8On) {
  ASSERT_EQ(GetOperatingSystem(), OS_WINDOWS_NT);
  EXPECT_EQ(verifyFlashAXInstallerCanRunOnThisMachine(9), FLASH_INSTALLER_NOT_FOR_NT);
  EXPECT_EQ(verifyFlashAXInstallerCanRunOnThisMachine(7), 0);

  bool extracted = false;
  FlashPlayerSteps steps = flashPlayerStepsFor(
      nullptr,
      [&extracted] {
        extracted = true;
        return 0;
      },
      false);
  steps.getFlashPlayerVersion = [](int32_t) { return getFlashPlayerVersion(1); };
  FlashPlayerDecision decision;
  decision.carriesFlashInstaller = true;
  decision.flashInstallerVersionIndex = 1;
  decision.flashInstallerName = "install_flash_player_active_x.exe";
  EXPECT_EQ(decideFlashPlayerAction(decision, steps), FLASH_INSTALLER_NOT_FOR_NT);
  EXPECT_FALSE(extracted);
}

}  // namespace
