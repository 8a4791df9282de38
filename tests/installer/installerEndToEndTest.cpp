// saversetup under Wine, end to end through the real launcher: packages built
// with the packer, installed quietly and through the window.
#include <fstream>

#include "installerFixture.h"

namespace {

const char *const RECORD_VARIABLE = "FAKE_INSTALLER_RECORD";

// Polls until the form's "Install" button can be pressed again.
bool waitUntilReady(HWND form) {
  for (int wait = 0; wait < 600; ++wait) {
    HWND install = control(form, "Install");
    if (install != nullptr && IsWindowEnabled(install) && IsWindowVisible(install)) return true;
    Sleep(100);
  }
  return false;
}

RECT frameOf(HWND window) {
  RECT frame = {};
  GetWindowRect(window, &frame);
  return frame;
}

RECT clientOf(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  return client;
}

// A control's distance from the right and bottom edges of the form's client area.
POINT marginToBottomRight(HWND form, HWND control) {
  RECT place = frameOf(control);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT *>(&place), 2);
  const RECT client = clientOf(form);
  return {client.right - place.right, client.bottom - place.bottom};
}

void resizeTo(HWND form, int width, int height) {
  SetWindowPos(form, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The picture box as it appears on the screen: top and bottom rows of the
// splash's vertical gradient differ, and neither is the dialog face. The
// window may be visible a moment before its first paint, so the capture
// waits for the rows to differ, a few seconds at most.
void expectPictureDrawn(HWND form) {
  HWND panel = FindWindowExA(form, nullptr, "TPanel", nullptr);
  HWND picture = panel == nullptr ? nullptr : FindWindowExA(panel, nullptr, "TImage", nullptr);
  driver::RgbImage shot;
  COLORREF top = 0, bottom = 0;
  for (DWORD start = GetTickCount(); top == bottom && GetTickCount() - start < 5000; Sleep(50)) {
    ASSERT_TRUE(picture != nullptr && driver::captureWindow(picture, &shot));
    ASSERT_GT(shot.width * shot.height, 100u);
    auto pixelAt = [&shot](uint32_t x, uint32_t y) {
      const uint8_t *rgb = &shot.pixels[(size_t(y) * shot.width + x) * 3];
      return RGB(rgb[0], rgb[1], rgb[2]);
    };
    top = pixelAt(shot.width / 2, 2);
    bottom = pixelAt(shot.width / 2, shot.height - 3);
  }
  EXPECT_NE(top, bottom);
  EXPECT_NE(top, GetSysColor(COLOR_BTNFACE));
  EXPECT_NE(bottom, GetSysColor(COLOR_BTNFACE));
}

std::string fileText(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST_F(InstallerEndToEnd, QuietInstallPlacesEverythingWithoutAWindow) {
  const std::string launcher = buildLauncher("quiet");
  const std::set<std::string> foldersBefore = workFolders();
  DWORD exitCode = 99;
  std::vector<std::string> shownTitles;
  ASSERT_TRUE(runLauncherToEnd(launcher, "/q", &exitCode, [&shownTitles](DWORD installer) {
    if (installer == 0) return;
    for (HWND window = GetTopWindow(nullptr); window != nullptr;
         window = GetNextWindow(window, GW_HWNDNEXT))
      if (driver::processIdOfWindow(window) == installer && visibleOnScreen(window))
        shownTitles.push_back(driver::windowText(window));
  }));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(shownTitles.empty()) << shownTitles.front();
  expectInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}

// The package is quiet by its header and offers the control panel: "/q"
// keeps the panel shut, the header's quiet mode alone opens it. The display
// panel is a stand-in that records how it was opened.
TEST_F(InstallerEndToEnd, OnlyTheHeadersQuietModeOpensTheControlPanel) {
  const std::string launcher = buildLauncher("quiet");
  const std::filesystem::path record = std::filesystem::path(launcher).parent_path() / "record.txt";
  const std::string panel = systemFolder() + "desk.cpl";
  ASSERT_TRUE(CopyFileA(driver::windowsPathOf(FAKE_DISPLAY_PANEL).c_str(), panel.c_str(), FALSE));
  SetEnvironmentVariableA(RECORD_VARIABLE, record.string().c_str());
  DWORD quietExit = 99, headerQuietExit = 99;
  const auto noWatch = [](DWORD) {};
  const bool ran = runLauncherToEnd(launcher, "/q", &quietExit, noWatch) &&
                   runLauncherToEnd(launcher, "", &headerQuietExit, noWatch);
  std::string opened;
  for (int wait = 0; wait < 300 && opened.empty(); ++wait, Sleep(100)) opened = fileText(record);
  SetEnvironmentVariableA(RECORD_VARIABLE, nullptr);
  DeleteFileA(panel.c_str());

  ASSERT_TRUE(ran);
  EXPECT_EQ(quietExit, 0u);
  EXPECT_EQ(headerQuietExit, 0u);
  EXPECT_EQ(opened, "controlPanel=parameters 1\n");  // once: the second run only
  expectInstalled();
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

  // Without a licence the licence box, and its library, are never made.
  EXPECT_EQ(FindWindowExA(form, nullptr, "RichEdit20W", nullptr), nullptr);
  EXPECT_EQ(GetWindowLongA(form, GWL_STYLE) & WS_THICKFRAME, 0);
  expectPictureDrawn(form);
  driver::saveScreenshot("installer-ready.png");

  HWND question = pressInstall(form, installer);
  ASSERT_NE(question, nullptr);
  EXPECT_NE(control(form, "Screen Saver Installation and Setup Complete."), nullptr);
  driver::saveScreenshot("installer-done.png");
  declineControlPanel(question, installer, launcherProgram);
  expectInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}

// Licence mode with a JPEG picture: the licence box shows the formatted text,
// the window grows taller but never wider nor below its minimum, and the
// buttons keep to the bottom right. Closing the ready window installs nothing.
TEST_F(InstallerEndToEnd, LicenseWindowGrowsOnlyTallerWithItsButtonsBottomRight) {
  const std::string launcher = buildLauncher("license");
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);
  HWND accept = control(form, "Accept and Install");
  ASSERT_NE(accept, nullptr);
  EXPECT_EQ(frameOf(accept).right - frameOf(accept).left, 115);
  EXPECT_EQ(clientOf(form).bottom, 445);
  HWND license = FindWindowExA(form, nullptr, "RichEdit20W", nullptr);
  ASSERT_TRUE(license != nullptr && IsWindowVisible(license));
  const std::string licenseText = driver::windowText(license);
  EXPECT_EQ(licenseText.rfind("Licence", 0), 0u) << licenseText;
  expectPictureDrawn(form);
  driver::saveScreenshot("installer-ready-license.png");

  const RECT designed = frameOf(form);
  const int width = designed.right - designed.left, height = designed.bottom - designed.top;
  const POINT acceptMargin = marginToBottomRight(form, accept);
  resizeTo(form, width + 200, height + 150);
  EXPECT_EQ(frameOf(form).right - frameOf(form).left, width);
  EXPECT_EQ(frameOf(form).bottom - frameOf(form).top, height + 150);
  EXPECT_EQ(marginToBottomRight(form, accept).x, acceptMargin.x);
  EXPECT_EQ(marginToBottomRight(form, accept).y, acceptMargin.y);
  resizeTo(form, width, 100);
  EXPECT_EQ(frameOf(form).bottom - frameOf(form).top, 465);
  EXPECT_EQ(marginToBottomRight(form, accept).y, acceptMargin.y);

  ASSERT_TRUE(driver::postMessageTo(form, WM_SYSCOMMAND, SC_CLOSE));
  expectBothEnd(installer, launcherProgram);
  expectNothingInstalled();
}

// A CMYK picture shows like any other. The task bar's "Close window" goes to
// the hidden application window; the installer closes as by its close box.
TEST_F(InstallerEndToEnd, CmykPictureShowsAndTheTaskBarsCloseEndsBothPrograms) {
  const std::string launcher = buildLauncher("license", [](const std::filesystem::path &folder) {
    std::filesystem::copy_file(SPLASH_CMYK_JPEG, folder / "splash.jpg",
                               std::filesystem::copy_options::overwrite_existing);
  });
  const std::set<std::string> foldersBefore = workFolders();
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);
  expectPictureDrawn(form);

  HWND application = driver::findTopLevelWindow({"", "TApplication", installer.processId(), false});
  ASSERT_NE(application, nullptr);
  ASSERT_TRUE(driver::postMessageTo(application, WM_SYSCOMMAND, SC_CLOSE));
  expectBothEnd(installer, launcherProgram);
  expectNothingInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}

// A picture that cannot be read is told once; the box stays empty and the
// installation works all the same.
TEST_F(InstallerEndToEnd, DamagedPictureIsReportedAndInstallingStillWorks) {
  const std::string launcher = buildLauncher("picture", [](const std::filesystem::path &folder) {
    writeBytes(folder / "splash.bmp", std::vector<uint8_t>{'B', 'M', 1, 2, 3});
  });
  driver::TestProgram launcherProgram;
  ASSERT_TRUE(launcherProgram.start("\"" + launcher + "\"",
                                    std::filesystem::path(launcher).parent_path().string()));
  HWND box = driver::waitForTopLevelWindow({"Error", "#32770", 0, true}, INSTALLER_TIMEOUT_MS);
  ASSERT_NE(box, nullptr);
  const std::vector<std::string> texts = driver::staticTexts(box);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "CorruptFile: splash.BMP");
  driver::TestProgram installer;
  ASSERT_TRUE(installer.attach(driver::processIdOfWindow(box)));
  ASSERT_TRUE(driver::clickButton(box, driver::buttonCaptions(box).front()));
  HWND form = driver::waitForTopLevelWindow({"", "TInstallerForm", installer.processId(), true},
                                            INSTALLER_TIMEOUT_MS);
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(driver::clickButton(form, "Install"));
  ASSERT_TRUE(answerDialog(installer.processId(), "Confirm", "No"));
  expectBothEnd(installer, launcherProgram);
  expectInstalled();
}

TEST_F(InstallerEndToEnd, DecliningTheOverwriteReturnsToReadyAndASecondInstallWorks) {
  const std::string launcher = buildLauncher("picture");
  // An older copy: its folder with a file of its own.
  CreateDirectoryA(sharedSaverFolder().c_str(), nullptr);
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
  EXPECT_TRUE(exists(olderFile));
  EXPECT_FALSE(exists(systemFolder() + SAVER_PROGRAM));
  EXPECT_EQ(uninstallValue("DisplayName"), "");

  ASSERT_TRUE(driver::clickButton(form, "Install"));
  ASSERT_TRUE(answerDialog(installer.processId(), "Confirm", "OK"));
  ASSERT_TRUE(answerDialog(installer.processId(), "Confirm", "No"));
  expectBothEnd(installer, launcherProgram);
  expectInstalled();
  EXPECT_FALSE(exists(olderFile));
}

// A movie that is not played, here of a package that needs no player, gives
// way to the package's poster beside the licence and the buttons: nothing is
// installed before "Install". "Cancel" leaves nothing; the next run installs.
TEST_F(InstallerEndToEnd, PosterStandsInForTheMovieAndNothingInstallsBeforeInstall) {
  const std::string launcher = buildLauncher("posterMovie", [](const std::filesystem::path &folder) {
    std::filesystem::copy_file(SPLASH_CMYK_JPEG, folder / "poster.jpg");
  });
  const std::set<std::string> foldersBefore = workFolders();
  {
    driver::TestProgram launcherProgram, installer;
    HWND form = startInteractive(launcher, launcherProgram, installer);
    ASSERT_NE(form, nullptr);
    expectPictureDrawn(form);
    HWND license = FindWindowExA(form, nullptr, "RichEdit20W", nullptr);
    EXPECT_TRUE(license != nullptr && IsWindowVisible(license));
    driver::saveScreenshot("installer-poster.png");
    expectNothingInstalled();
    ASSERT_TRUE(driver::clickButton(form, "Cancel"));
    expectBothEnd(installer, launcherProgram);
    expectNothingInstalled();
  }
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(driver::clickButton(form, "Accept and Install"));
  HWND question = driver::waitForTopLevelWindow({"Confirm", "#32770", installer.processId(), true},
                                                INSTALLER_TIMEOUT_MS);
  ASSERT_NE(question, nullptr);
  declineControlPanel(question, installer, launcherProgram);
  expectInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}
