// Two installers of the same saver at once: the one that came second
// changes nothing and says so in its exit code; the first completes.
#include "common/statusCodes.h"
#include "installerFixture.h"

// The first installer waits for "Install" with its window open; a silent
// second one of the same package ends at once with the in-progress code.
TEST_F(InstallerEndToEnd, ASecondInstallerOfTheSameSaverChangesNothingAndTheFirstCompletes) {
  const std::string launcher = buildLauncher("license");
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);

  DWORD secondExit = 99;
  ASSERT_TRUE(runLauncherToEnd(launcher, "/qn", &secondExit, [](DWORD) {}));
  EXPECT_EQ(static_cast<int32_t>(secondExit), STATUS_INSTALL_IN_PROGRESS);
  expectNothingInstalled();

  ASSERT_TRUE(driver::clickButton(form, "Accept and Install"));
  ASSERT_TRUE(answerDialog(installer.processId(), "Confirm", "No"));
  expectBothEnd(installer, launcherProgram);
  expectInstalled();
}
