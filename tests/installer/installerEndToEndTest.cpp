// saversetup under Wine, end to end through the real launcher: packages built
// with the packer, installed quietly and through the window.
#include "installerFixture.h"

namespace {

// Polls until the form's "Install" button can be pressed again.
bool waitUntilReady(HWND form) {
  for (int wait = 0; wait < 600; ++wait) {
    HWND install = control(form, "Install");
    if (install != nullptr && IsWindowEnabled(install) && IsWindowVisible(install)) return true;
    Sleep(100);
  }
  return false;
}

}  // namespace

TEST_F(InstallerEndToEnd, QuietInstallPlacesEverythingWithoutAWindow) {
  const std::string launcher = buildLauncher("quiet");
  const std::set<std::string> foldersBefore = workFolders();
  DWORD exitCode = 99;
  std::vector<std::string> shownTitles;
  ASSERT_TRUE(runLauncherToEnd(launcher, "/q", &exitCode, [&shownTitles](DWORD installer) {
    if (installer == 0) return;
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetNextWindow(window, GW_HWNDNEXT))
      if (driver::processIdOfWindow(window) == installer && visibleOnScreen(window))
        shownTitles.push_back(driver::windowText(window));
  }));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(shownTitles.empty()) << shownTitles.front();
  expectInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}

TEST_F(InstallerEndToEnd, InstallThenDeclineTheControlPanelEndsWithEverythingInstalled) {
  const std::string launcher = buildLauncher("picture");
  const std::set<std::string> foldersBefore = workFolders();
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(driver::windowText(form), "Install Screen Saver: Tide");
  RECT client;
  GetClientRect(form, &client);
  EXPECT_EQ(client.bottom, 338);

  ASSERT_TRUE(driver::clickButton(form, "Install"));
  ASSERT_TRUE(answerDialog(installer.processId(), "Confirm", "No"));
  DWORD exitCode = 99;
  EXPECT_TRUE(installer.waitForExit(INSTALLER_TIMEOUT_MS, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(launcherProgram.waitForExit(INSTALLER_TIMEOUT_MS, nullptr));
  expectInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}

TEST_F(InstallerEndToEnd, DecliningTheOverwriteReturnsToReadyAndASecondInstallWorks) {
  const std::string launcher = buildLauncher("picture");
  // An older copy: its folder with a file of its own.
  CreateDirectoryA(sharedFolder().c_str(), nullptr);
  CreateDirectoryA(saverFolder().c_str(), nullptr);
  const std::string olderFile = saverFolder() + "older.txt";
  CloseHandle(CreateFileA(olderFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);

  ASSERT_TRUE(driver::clickButton(form, "Install"));
  ASSERT_TRUE(answerDialog(installer.processId(), "Confirm", "Cancel"));
  ASSERT_TRUE(waitUntilReady(form));
  EXPECT_EQ(driver::windowText(control(form, "Cancel")), "Cancel");
  EXPECT_TRUE(GetFileAttributesA(olderFile.c_str()) != INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((systemFolder() + SAVER_PROGRAM).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(uninstallValue("DisplayName"), "");

  ASSERT_TRUE(driver::clickButton(form, "Install"));
  ASSERT_TRUE(answerDialog(installer.processId(), "Confirm", "OK"));
  ASSERT_TRUE(answerDialog(installer.processId(), "Confirm", "No"));
  EXPECT_TRUE(installer.waitForExit(INSTALLER_TIMEOUT_MS, nullptr));
  EXPECT_TRUE(launcherProgram.waitForExit(INSTALLER_TIMEOUT_MS, nullptr));
  expectInstalled();
  EXPECT_EQ(GetFileAttributesA(olderFile.c_str()), INVALID_FILE_ATTRIBUTES);
}
