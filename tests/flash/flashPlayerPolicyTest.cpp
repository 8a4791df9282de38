// The Flash Player rules: version text, the update table, the installer's
// parameters and shell results, and the start-up decision with stand-in steps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/osClassification.h"
#include "flash/flashPlayerPolicy.h"

namespace {

TEST(FlashVersionString, ReadsMajorAndRevision) {
  int32_t major = -1, revision = -1;
  EXPECT_TRUE(parseFlashVersionString("WIN 9,0,124,0", major, revision));
  EXPECT_EQ(major, 9);
  EXPECT_EQ(revision, 124);
  EXPECT_TRUE(parseFlashVersionString("  MAC 10 , 0 ,12,36", major, revision));
  EXPECT_EQ(major, 10);
  EXPECT_EQ(revision, 12);
  // A quoted part is one item, whatever it holds.
  EXPECT_TRUE(parseFlashVersionString("\"WIN 32\" 11,1,102,55", major, revision));
  EXPECT_EQ(major, 11);
  EXPECT_EQ(revision, 102);
}

TEST(FlashVersionString, RefusesMissingOrNonNumericItems) {
  int32_t major = 0, revision = 0;
  for (const char *text :
       {"", "WIN", "WIN 9,0", "WIN x,0,124,0", "WIN 9,0,12a,0", "WIN 9,0,,", "WIN 99999999999,0,1,0"})
    EXPECT_FALSE(parseFlashVersionString(text, major, revision)) << text;
}

FlashPlayerVersion player(int32_t major, int32_t revision) { return {true, major, revision}; }

TEST(FlashPlayerTable, UpdatesOnlyForANewerCarriedInstaller) {
  const FlashInstallerVersion nine = CarriedFlashInstallerVersions[1];
  const FlashInstallerVersion ten = CarriedFlashInstallerVersions[0];
  EXPECT_EQ(nine.major, 9);
  EXPECT_EQ(nine.revision, 124);
  EXPECT_EQ(ten.major, 10);
  EXPECT_EQ(ten.revision, 12);
  EXPECT_EQ(chooseFlashPlayerAction(player(9, 115), true, 9, 124), FlashPlayerAction::minorUpdate);
  EXPECT_EQ(chooseFlashPlayerAction(player(9, 124), true, 9, 124), FlashPlayerAction::nothingToDo);
  EXPECT_EQ(chooseFlashPlayerAction(player(10, 12), true, 9, 124), FlashPlayerAction::nothingToDo);
  EXPECT_EQ(chooseFlashPlayerAction(player(9, 0), true, 9, 124), FlashPlayerAction::nothingToDo);
  EXPECT_EQ(chooseFlashPlayerAction(player(9, 999), true, 10, 12), FlashPlayerAction::majorUpdate);
  EXPECT_EQ(chooseFlashPlayerAction(player(3, 1), false, 0, 0), FlashPlayerAction::nothingToDo);
  EXPECT_EQ(chooseFlashPlayerAction({}, true, 9, 124), FlashPlayerAction::cleanInstall);
  EXPECT_EQ(chooseFlashPlayerAction({}, false, 0, 0), FlashPlayerAction::tellUserToGetPlayer);
}

TEST(FlashPlayerTable, RefusesNewInstallersOnWindowsNT) {
  EXPECT_EQ(flashInstallerSystemStatus(OS_WINDOWS_NT, 9), FLASH_INSTALLER_NOT_FOR_NT);
  EXPECT_EQ(flashInstallerSystemStatus(OS_WINDOWS_NT, 8), FLASH_INSTALLER_NOT_FOR_NT);
  EXPECT_EQ(flashInstallerSystemStatus(OS_WINDOWS_NT, 7), 0);
  EXPECT_EQ(flashInstallerSystemStatus(OS_WINDOWS_NT, 0), 0);
  EXPECT_EQ(flashInstallerSystemStatus(OS_WINDOWS_2000, 10), 0);
  EXPECT_EQ(flashInstallerSystemStatus(OS_64BIT_WINDOWS, 10), 0);
}

TEST(FlashInstallerRun, ParametersAndShellResults) {
  EXPECT_EQ(flashInstallerParameters("install_flash_player_active_x.exe", true), "/s");
  EXPECT_EQ(flashInstallerParameters("install_flash_player_10_active_x.exe", true), "/s");
  EXPECT_EQ(flashInstallerParameters("Install_Flash_Player_Active_X.exe", true), "/Q");
  EXPECT_EQ(flashInstallerParameters("flashsetup.exe", true), "/Q");
  EXPECT_EQ(flashInstallerParameters("install_flash_player_active_x.exe", false), "");
  EXPECT_EQ(shellStartStatus(42), 0);
  EXPECT_EQ(shellStartStatus(33), 0);
  EXPECT_EQ(shellStartStatus(32), 32);
  EXPECT_EQ(shellStartStatus(2), 2);
  EXPECT_EQ(shellStartStatus(0), -7);
}

// Stand-in system steps that record what the decision asked of them.
class FlashDecision : public ::testing::Test {
 protected:
  FlashDecision() {
    steps.getFlashPlayerVersion = [this](int32_t attempts) {
      calls.push_back("detect " + std::to_string(attempts));
      return installed;
    };
    steps.verifyFlashAXInstallerCanRunOnThisMachine = [this](int32_t requiredMajor) {
      calls.push_back("verify " + std::to_string(requiredMajor));
      return flashInstallerSystemStatus(operatingSystem, requiredMajor);
    };
    steps.extractFlashInstaller = [this] {
      calls.push_back("extract");
      return extractStatus;
    };
    steps.handleFlashActiveXControlUpdate = [this](const std::string &name) {
      calls.push_back("update " + name);
      return updateStatus;
    };
    steps.moveInstallerWindowOffScreen = [this] { calls.push_back("off-screen"); };
  }

  void carry(uint8_t index) {
    decision.carriesFlashInstaller = true;
    decision.flashInstallerVersionIndex = index;
    decision.flashInstallerName = "install_flash_player_active_x.exe";
  }

  FlashPlayerVersion installed;
  int32_t operatingSystem = OS_WINDOWS_XP;
  int32_t extractStatus = 0;
  int32_t updateStatus = 0;
  std::vector<std::string> calls;
  FlashPlayerSteps steps;
  FlashPlayerDecision decision;
};

TEST_F(FlashDecision, MinorUpdateRunsTheCarriedInstaller) {
  installed = player(9, 115);
  carry(1);
  EXPECT_EQ(decideFlashPlayerAction(decision, steps), 0);
  EXPECT_TRUE(decision.flashUpdateNeeded);
  EXPECT_EQ(decision.requiredFlashMajor, 9);
  EXPECT_EQ(decision.requiredFlashRevision, 124);
  EXPECT_EQ(decision.installed.revision, 115);
  EXPECT_EQ(calls, (std::vector<std::string>{"detect 20", "verify 9", "extract",
                                             "update install_flash_player_active_x.exe"}));
}

TEST_F(FlashDecision, CurrentPlayerOnlyExtractsTheInstaller) {
  installed = player(10, 12);
  carry(1);
  EXPECT_EQ(decideFlashPlayerAction(decision, steps), 0);
  EXPECT_FALSE(decision.flashUpdateNeeded);
  EXPECT_EQ(calls, (std::vector<std::string>{"detect 20", "verify 9", "extract"}));
}

TEST_F(FlashDecision, PackageWithoutInstallerNeverUpdates) {
  installed = player(3, 0);
  EXPECT_EQ(decideFlashPlayerAction(decision, steps), 0);
  EXPECT_FALSE(decision.flashUpdateNeeded);
  EXPECT_EQ(decision.requiredFlashMajor, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"detect 20", "verify 0"}));
}

TEST_F(FlashDecision, FailedCleanInstallHidesTheWindowWithMinus416) {
  carry(0);
  updateStatus = FLASH_PLAYER_NOT_FOUND;
  EXPECT_EQ(decideFlashPlayerAction(decision, steps), FLASH_PLAYER_INSTALL_FAILED);
  EXPECT_TRUE(decision.flashUpdateNeeded);
  EXPECT_EQ(calls.back(), "off-screen");
}

TEST_F(FlashDecision, OtherUpdateFailuresPassThrough) {
  carry(0);
  updateStatus = FLASH_INSTALLER_MISSING;
  EXPECT_EQ(decideFlashPlayerAction(decision, steps), FLASH_INSTALLER_MISSING);
  EXPECT_NE(calls.back(), "off-screen");
}

TEST_F(FlashDecision, NoPlayerAndNoInstallerTellsTheUser) {
  EXPECT_EQ(decideFlashPlayerAction(decision, steps), FLASH_PLAYER_NOT_FOUND);
  EXPECT_FALSE(decision.flashUpdateNeeded);
  EXPECT_EQ(calls, (std::vector<std::string>{"detect 20", "verify 0"}));
}

TEST_F(FlashDecision, StopsBeforeExtractionOnRefusals) {
  operatingSystem = OS_WINDOWS_NT;
  carry(1);
  EXPECT_EQ(decideFlashPlayerAction(decision, steps), FLASH_INSTALLER_NOT_FOR_NT);
  EXPECT_EQ(calls, (std::vector<std::string>{"detect 20", "verify 9"}));

  calls.clear();
  operatingSystem = OS_WINDOWS_XP;
  carry(2);  // no such row
  EXPECT_NE(decideFlashPlayerAction(decision, steps), 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"detect 20"}));

  calls.clear();
  carry(1);
  extractStatus = -531;
  EXPECT_EQ(decideFlashPlayerAction(decision, steps), -531);
  EXPECT_EQ(calls, (std::vector<std::string>{"detect 20", "verify 9", "extract"}));
}

}  // namespace
