// saversetup under Wine when an installation cannot go the normal way: a
// damaged package, "Cancel", a movie that cannot be played, a saver program
// in use, and the closing and clicking that must change nothing meanwhile.
#include <filesystem>
#include <fstream>

#include "installerFixture.h"

namespace {

const char WRITING_FILES[] = "Writing screen saver files...";

bool startsWith(const std::string &text, const std::string &prefix) { return text.rfind(prefix, 0) == 0; }

// Answers every error box the installer shows with its only button, once,
// and keeps the message of each.
void answerErrorBoxes(DWORD installer, std::set<HWND> &answered, std::vector<std::string> &messages) {
  for (HWND box : driver::findTopLevelWindows({"Error", "#32770", installer, true})) {
    if (!answered.insert(box).second) continue;
    const std::vector<std::string> texts = driver::staticTexts(box);
    messages.push_back(texts.empty() ? "" : texts.front());
    if (startsWith(messages.back(), "Installer file is corrupted. "))
      driver::saveScreenshot("installer-failed-corrupted.png");
    const std::vector<std::string> buttons = driver::buttonCaptions(box);
    if (!buttons.empty()) driver::clickButton(box, buttons.front());
  }
}

// Polls the form until a child shows text; false after the timeout.
bool waitForText(HWND form, const std::string &text) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < INSTALLER_TIMEOUT_MS; Sleep(10))
    if (control(form, text) != nullptr) return true;
  return false;
}

// Makes the package header name a carried movie player of a version the
// installer does not know, a header that fails its checks.
void corruptPackageHeader(const std::string &launcher) {
  const std::filesystem::path programs = std::filesystem::path(launcher).parent_path() / "bin";
  const auto headerStart = std::filesystem::file_size(programs / "saverstart.exe") +
                           std::filesystem::file_size(programs / "saversetup.exe");
  std::fstream file(launcher, std::ios::binary | std::ios::in | std::ios::out);
  file.seekp(static_cast<std::streamoff>(headerStart + 3));
  const char carriesPlayerOfUnknownVersion[] = {1, 127};
  file.write(carriesPlayerOfUnknownVersion, sizeof carriesPlayerOfUnknownVersion);
}

}  // namespace

using InstallerFailure = InstallerEndToEnd;

TEST_F(InstallerFailure, CorruptedPackageEndsStartUpWithTheCorruptionMessage) {
  const std::string launcher = buildLauncher("picture");
  corruptPackageHeader(launcher);
  const std::set<std::string> foldersBefore = workFolders();
  std::set<HWND> answered;
  std::vector<std::string> messages;
  DWORD exitCode = 0;
  ASSERT_TRUE(runLauncherToEnd(launcher, "", &exitCode, [&](DWORD installer) {
    if (installer != 0) answerErrorBoxes(installer, answered, messages);
  }));
  ASSERT_FALSE(messages.empty());
  EXPECT_TRUE(startsWith(messages.back(), "Installer file is corrupted. Lumavane Error: ")) << messages.back();
  expectNothingInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}

TEST_F(InstallerFailure, CancelDuringExtractionRemovesWhatWasPlacedAndEnds) {
  const std::string launcher = buildLauncher("picture");
  const std::set<std::string> foldersBefore = workFolders();
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);

  ASSERT_TRUE(driver::clickButton(form, "Install"));
  ASSERT_TRUE(waitForText(form, WRITING_FILES));
  ASSERT_TRUE(driver::clickButton(form, "Cancel"));
  ASSERT_TRUE(waitForText(form, "Installation Aborted. Cleaning up files..."));
  driver::saveScreenshot("installer-aborted.png");
  // The abort ended with nothing failed, so the program ends by itself.
  expectBothEnd(installer, launcherProgram);
  expectNothingInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}

TEST_F(InstallerFailure, UnplayableMovieInstallsInThePreparingWindow) {
  const std::string launcher = buildLauncher("unplayableMovie");
  const std::set<std::string> foldersBefore = workFolders();
  driver::TestProgram launcherProgram;
  ASSERT_TRUE(launcherProgram.start("\"" + launcher + "\"", std::filesystem::path(launcher).parent_path().string()));
  // The control-panel question comes once the installation is done.
  HWND question = driver::waitForTopLevelWindow({"Confirm", "#32770", 0, true}, INSTALLER_TIMEOUT_MS);
  ASSERT_NE(question, nullptr);
  HWND preparing = driver::findTopLevelWindow({"", "TpreparingInstallWnd", driver::processIdOfWindow(question), true});
  ASSERT_NE(preparing, nullptr);
  EXPECT_NE(control(preparing, "Installation Successful."), nullptr);
  EXPECT_TRUE(visibleOnScreen(preparing));
  driver::TestProgram installer;
  ASSERT_TRUE(installer.attach(driver::processIdOfWindow(question)));
  ASSERT_TRUE(driver::clickButton(question, "No"));
  expectBothEnd(installer, launcherProgram);
  expectInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}

// The package was read, so a failure in the preparing window is told as a
// failed installation, never as a damaged installer file.
TEST_F(InstallerFailure, FailureInThePreparingWindowIsToldAsAFailedInstallation) {
  const std::string launcher = buildLauncher("unplayableMovie");
  CreateDirectoryA(sharedFolder().c_str(), nullptr);
  CreateDirectoryA(saverFolder().c_str(), nullptr);
  HANDLE held = CreateFileA((saverFolder() + MEMBER_PATHS.front()).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::set<HWND> answered;
  std::vector<std::string> messages;
  DWORD exitCode = 99;
  const bool ended = runLauncherToEnd(launcher, "", &exitCode, [&](DWORD installer) {
    if (installer != 0) answerErrorBoxes(installer, answered, messages);
  });
  CloseHandle(held);
  ASSERT_TRUE(ended);
  ASSERT_FALSE(messages.empty());
  EXPECT_TRUE(startsWith(messages.back(), "Install failed. Error: ")) << messages.back();
  EXPECT_FALSE(exists(systemFolder() + SAVER_PROGRAM));
  EXPECT_EQ(uninstallValue("DisplayName"), "");
}

TEST_F(InstallerFailure, CloseBoxAndRightClickChangeNothing) {
  const std::string launcher = buildLauncher("picture");
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);
  // A right click in the ready window: no menu, no other window, still ready.
  const std::vector<HWND> shownBefore = driver::findTopLevelWindows({"", "", installer.processId(), true});
  ASSERT_TRUE(driver::postMessageTo(form, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100)));
  ASSERT_TRUE(driver::postMessageTo(form, WM_RBUTTONUP, 0, MAKELPARAM(100, 100)));
  Sleep(1000);
  EXPECT_EQ(driver::findTopLevelWindows({"", "", installer.processId(), true}), shownBefore);
  HWND install = control(form, "Install");
  EXPECT_TRUE(install != nullptr && IsWindowEnabled(install));

  // The close box while installing: the installation goes on to its end.
  ASSERT_TRUE(driver::clickButton(form, "Install"));
  ASSERT_TRUE(waitForText(form, WRITING_FILES));
  driver::saveScreenshot("installer-installing.png");
  ASSERT_TRUE(driver::postMessageTo(form, WM_SYSCOMMAND, SC_CLOSE));
  ASSERT_TRUE(answerDialog(installer.processId(), "Confirm", "No"));
  expectBothEnd(installer, launcherProgram);
  expectInstalled();
}

TEST_F(InstallerFailure, BusySaverProgramStaysAndTheRestInstalls) {
  const std::string launcher = buildLauncher("picture");
  // An older copy whose program file some other program holds open.
  CreateDirectoryA(sharedFolder().c_str(), nullptr);
  CreateDirectoryA(saverFolder().c_str(), nullptr);
  const std::string program = systemFolder() + SAVER_PROGRAM;
  HANDLE held = CreateFileA(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  const bool installed = form != nullptr && driver::clickButton(form, "Install") &&
                         answerDialog(installer.processId(), "Confirm", "OK") &&
                         answerDialog(installer.processId(), "Confirm", "No") &&
                         installer.waitForExit(INSTALLER_TIMEOUT_MS, nullptr);
  CloseHandle(held);
  ASSERT_TRUE(installed);
  EXPECT_TRUE(launcherProgram.waitForExit(INSTALLER_TIMEOUT_MS, nullptr));
  // The held program is the older one, untouched; everything else is new.
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  ASSERT_TRUE(GetFileAttributesExA(program.c_str(), GetFileExInfoStandard, &attributes));
  EXPECT_EQ(attributes.nFileSizeLow, 0u);
  EXPECT_TRUE(exists(saverFolder() + "saver.dat"));
  EXPECT_EQ(uninstallValue("DisplayName"), "Tide Screen Saver");
}

// A member file that another program holds open cannot be written: the
// installation fails with the step's own message, removes everything it
// placed and leaves only the held file of the older copy.
TEST_F(InstallerFailure, UnwritableSaverFolderFailsAndRemovesWhatWasPlaced) {
  const std::string launcher = buildLauncher("picture");
  CreateDirectoryA(sharedFolder().c_str(), nullptr);
  CreateDirectoryA(saverFolder().c_str(), nullptr);
  const std::string heldMember = saverFolder() + MEMBER_PATHS.front();
  HANDLE held = CreateFileA(heldMember.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  std::set<HWND> answered;
  std::vector<std::string> messages;
  const bool started = form != nullptr && driver::clickButton(form, "Install") &&
                       answerDialog(installer.processId(), "Confirm", "OK");
  std::string statusLine;
  for (DWORD start = GetTickCount(); started && GetTickCount() - start < INSTALLER_TIMEOUT_MS; Sleep(50)) {
    answerErrorBoxes(installer.processId(), answered, messages);
    for (const driver::DialogControl &each : driver::dialogControls(form))
      if (startsWith(each.text, "Install failed. Error: ")) statusLine = each.text;
    if (!statusLine.empty()) break;
  }
  driver::saveScreenshot("installer-failed.png");
  const bool closed = !statusLine.empty() && driver::postMessageTo(form, WM_SYSCOMMAND, SC_CLOSE) &&
                      installer.waitForExit(INSTALLER_TIMEOUT_MS, nullptr);
  CloseHandle(held);
  ASSERT_TRUE(closed) << statusLine;
  EXPECT_FALSE(messages.empty());
  EXPECT_TRUE(launcherProgram.waitForExit(INSTALLER_TIMEOUT_MS, nullptr));
  EXPECT_FALSE(exists(systemFolder() + SAVER_PROGRAM));
  EXPECT_EQ(uninstallValue("DisplayName"), "");
  for (size_t member = 1; member < MEMBER_PATHS.size(); ++member)
    EXPECT_FALSE(exists(saverFolder() + MEMBER_PATHS[member])) << MEMBER_PATHS[member];
  EXPECT_FALSE(exists(saverFolder() + "saver.dat"));
}
