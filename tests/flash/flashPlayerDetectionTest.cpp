// Flash Player detection and update under Wine: the control stand-in is
// registered (or not) in this test's own prefix, and the fake Flash Player
// installer registers it when run silently. The version cache lives as long
// as the process, so each case needs a process of its own, as ctest runs them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/QRX_FileUtils.h"
#include "fakeFlashInstallerSettings.h"
#include "flash/QRX_FlashUtils.h"
#include "flash/flashPlayerSetup.h"
#include "flashStandInSetup.h"

namespace {

const char KNOWN_NAME[] = "install_flash_player_active_x.exe";
// Start-up detection probes in these tests, instead of 20, to keep them quick.
const int32_t FEW_PROBES = 2;
const char FLASH_SERVER_KEY[] = "CLSID\\{D27CDB6E-AE6D-11cf-96B8-444553540000}\\InprocServer32";

class FlashPlayerDetection : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    workFolder = std::string(temp) + "flash-detection-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(workFolder.c_str(), nullptr);
    pathWorkFolder = workFolder;
    window = CreateWindowA("STATIC", "installer", WS_OVERLAPPED, 100, 100, 200, 100, nullptr, nullptr,
                           nullptr, nullptr);
  }

  void TearDown() override {
    DestroyWindow(window);
    deleteFolderTree(workFolder);
    for (const char *setting : {FLASH_STANDIN_VERSION, FLASH_STANDIN_FAIL_CREATIONS,
                                FAKE_FLASH_INSTALLER_REGISTERS, FAKE_FLASH_INSTALLER_DELAY_MS})
      setFlashStandInSetting(setting, "");
  }

  static void playerIs(const char *standInDll) { ASSERT_EQ(0, registerFlashStandIn(standInDll)); }
  static void noPlayer() { unregisterFlashStandIn(FLASH_STANDIN_DLL); }

  // The fake installer in the work folder; a silent run registers the
  // 9.0.124.0 stand-in after delayMs, or nothing when delayMs is negative.
  void carryInstaller(const std::string &name, int delayMs) {
    ASSERT_TRUE(
        CopyFileA(windowsPathOf(FAKE_FLASH_INSTALLER_EXE).c_str(), (workFolder + name).c_str(), FALSE));
    if (delayMs >= 0) {
      setFlashStandInSetting(FAKE_FLASH_INSTALLER_REGISTERS, windowsPathOf(FLASH_STANDIN_DLL));
      setFlashStandInSetting(FAKE_FLASH_INSTALLER_DELAY_MS, std::to_string(delayMs));
    }
  }

  // The parameters of each installer run, once count runs have recorded them.
  std::vector<std::string> installerRuns(size_t count) {
    std::vector<std::string> runs;
    for (int wait = 0; wait < 100 && runs.size() < count; ++wait) {
      Sleep(100);
      runs = readFlashStandInLog(workFolder + FAKE_FLASH_INSTALLER_LOG_NAME);
    }
    return runs;
  }

  int32_t decide(FlashPlayerDecision &decision) {
    FlashPlayerSteps steps = flashPlayerStepsFor(
        window, [] { return 0; }, false);
    steps.getFlashPlayerVersion = [](int32_t) { return getFlashPlayerVersion(FEW_PROBES); };
    return decideFlashPlayerAction(decision, steps);
  }

  static FlashPlayerDecision carrying(uint8_t index) {
    FlashPlayerDecision decision;
    decision.carriesFlashInstaller = true;
    decision.flashInstallerVersionIndex = index;
    decision.flashInstallerName = KNOWN_NAME;
    return decision;
  }

  RECT windowPlace() {
    RECT place;
    GetWindowRect(window, &place);
    return place;
  }

  std::string workFolder;
  HWND window = nullptr;
};

TEST_F(FlashPlayerDetection, FindsTheControlFileInTheRegistry) {
  playerIs(FLASH_STANDIN_DLL);
  std::string path;
  EXPECT_EQ(getFlashOCXFilePath(path), 0);
  EXPECT_STRCASEEQ(path.c_str(), windowsPathOf(FLASH_STANDIN_DLL).c_str());
  noPlayer();
  EXPECT_EQ(getFlashOCXFilePath(path), FLASH_PLAYER_NOT_FOUND);
  EXPECT_EQ(path, "");
}

TEST_F(FlashPlayerDetection, ReadsVersionFromTheControlFile) {
  playerIs(FLASH_STANDIN_10_0_12_DLL);
  FlashPlayerVersion version;
  EXPECT_EQ(getFlashPlayerVersionInfoFromFileProperties(version), 0);
  EXPECT_TRUE(version.found);
  EXPECT_EQ(version.major, 10);
  EXPECT_EQ(version.revision, 12);
}

TEST_F(FlashPlayerDetection, MinorUpdateRunsTheInstallerSilently) {
  playerIs(FLASH_STANDIN_9_0_115_DLL);
  carryInstaller(KNOWN_NAME, 0);
  FlashPlayerDecision decision = carrying(1);
  EXPECT_EQ(decide(decision), 0);
  EXPECT_TRUE(decision.flashUpdateNeeded);
  EXPECT_EQ(decision.installed.major, 9);
  EXPECT_EQ(decision.installed.revision, 115);
  EXPECT_EQ(installerRuns(1), std::vector<std::string>{"/s"});
}

TEST_F(FlashPlayerDetection, CurrentPlayersNeedNothing) {
  carryInstaller(KNOWN_NAME, 0);
  for (const char *dll : {FLASH_STANDIN_DLL, FLASH_STANDIN_10_0_12_DLL}) {
    playerIs(dll);
    FlashPlayerDecision decision = carrying(1);
    EXPECT_EQ(decide(decision), 0) << dll;
    EXPECT_FALSE(decision.flashUpdateNeeded) << dll;
  }
  Sleep(500);
  EXPECT_EQ(GetFileAttributesA((workFolder + FAKE_FLASH_INSTALLER_LOG_NAME).c_str()),
            INVALID_FILE_ATTRIBUTES);
}

TEST_F(FlashPlayerDetection, CleanInstallWaitsForThePlayerToAppear) {
  noPlayer();
  carryInstaller(KNOWN_NAME, 1200);
  FlashPlayerDecision decision = carrying(1);
  EXPECT_EQ(decide(decision), 0);
  EXPECT_TRUE(decision.flashUpdateNeeded);
  EXPECT_FALSE(decision.installed.found);
  EXPECT_EQ(installerRuns(1), std::vector<std::string>{"/s"});
  EXPECT_EQ(windowPlace().left, 100);
}

TEST_F(FlashPlayerDetection, FailedInstallRerunsVisiblyAndHidesTheWindow) {
  noPlayer();
  carryInstaller(KNOWN_NAME, -1);
  FlashPlayerDecision decision = carrying(1);
  EXPECT_EQ(decide(decision), FLASH_PLAYER_INSTALL_FAILED);
  EXPECT_EQ(installerRuns(2), (std::vector<std::string>{"/s", ""}));
  EXPECT_EQ(windowPlace().left, -3000);
  EXPECT_EQ(windowPlace().top, -3000);
}

TEST_F(FlashPlayerDetection, NoPlayerAndNoInstallerTellsTheUser) {
  noPlayer();
  FlashPlayerDecision decision;
  EXPECT_EQ(decide(decision), FLASH_PLAYER_NOT_FOUND);
  EXPECT_EQ(windowPlace().left, 100);
}

TEST_F(FlashPlayerDetection, MissingControlFileLeavesItToTheControlProbe) {
  // Registered without the extension: the file is not found as named, but
  // the system still loads the library, so only the probe can tell.
  playerIs(FLASH_STANDIN_DLL);
  std::string path = windowsPathOf(FLASH_STANDIN_DLL);
  path.erase(path.size() - 4);
  ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, FLASH_SERVER_KEY, REG_SZ, path.c_str(), path.size()),
            ERROR_SUCCESS);
  setFlashStandInSetting(FLASH_STANDIN_VERSION, "WIN 9,0,0,0");
  FlashPlayerDecision decision = carrying(1);
  EXPECT_EQ(decide(decision), 0);
  EXPECT_TRUE(decision.installed.found);
  EXPECT_EQ(decision.installed.major, 9);
  EXPECT_EQ(decision.installed.revision, 0);
  EXPECT_FALSE(decision.flashUpdateNeeded);
}

TEST_F(FlashPlayerDetection, SecondProbeComesFromTheCache) {
  playerIs(FLASH_STANDIN_DLL);
  setFlashStandInSetting(FLASH_STANDIN_VERSION, "WIN 11,2,202,0");
  FlashPlayerVersion version;
  DWORD start = GetTickCount();
  EXPECT_EQ(getFlashPlayerVersionFromControl(version, 3), 0);
  EXPECT_GE(GetTickCount() - start, 450u);
  EXPECT_EQ(version.major, 11);
  EXPECT_EQ(version.revision, 202);

  setFlashStandInSetting(FLASH_STANDIN_VERSION, "WIN 12,0,0,0");
  setFlashStandInSetting(FLASH_STANDIN_FAIL_CREATIONS, "1000");
  start = GetTickCount();
  version = FlashPlayerVersion();
  EXPECT_EQ(getFlashPlayerVersionFromControl(version, 3), 0);
  EXPECT_LT(GetTickCount() - start, 400u);
  EXPECT_TRUE(version.found);
  EXPECT_EQ(version.major, 11);
  EXPECT_EQ(confirmFlashPlayerInstalled(1), 0);
}

TEST_F(FlashPlayerDetection, UnreadableVersionTextEndsTheProbe) {
  playerIs(FLASH_STANDIN_DLL);
  setFlashStandInSetting(FLASH_STANDIN_VERSION, "WIN 9,0");
  FlashPlayerVersion version;
  const DWORD start = GetTickCount();
  EXPECT_EQ(getFlashPlayerVersionFromControl(version, 5), FLASH_PLAYER_NOT_FOUND);
  EXPECT_LT(GetTickCount() - start, 1500u);  // one attempt, not five
  EXPECT_FALSE(version.found);
}

TEST_F(FlashPlayerDetection, ControlThatNeverAppearsIsNotFound) {
  noPlayer();
  FlashPlayerVersion version;
  EXPECT_EQ(getFlashPlayerVersionFromControl(version, 2), FLASH_PLAYER_NOT_FOUND);
  EXPECT_FALSE(version.found);
  EXPECT_EQ(confirmFlashPlayerInstalled(0), FLASH_PLAYER_NOT_FOUND);
}

TEST_F(FlashPlayerDetection, InstallerParametersAndMissingInstaller) {
  EXPECT_EQ(runFlashAXInstaller(KNOWN_NAME, true, window), FLASH_INSTALLER_MISSING);
  carryInstaller("flashsetup.exe", -1);
  EXPECT_EQ(runFlashAXInstaller("flashsetup.exe", true, window), 0);
  EXPECT_EQ(installerRuns(1), std::vector<std::string>{"/Q"});
  EXPECT_EQ(runFlashAXInstaller("flashsetup.exe", false, window), 0);
  EXPECT_EQ(installerRuns(2), (std::vector<std::string>{"/Q", ""}));
}

}  // namespace
