// The installer's start-up, run inside the main window's creation: from its
// own work folder to one of four ends (the window waits for "Install", a
// quiet installation, an installation in the preparing window, or a message
// and the end of the program).
#include "installer/fInstall.h"

#include <shlobj.h>
#include <stdlib.h>

#include <vector>

#include "common/QRX_FileUtils.h"
#include "common/QRX_OSUtils.h"
#include "common/dialogs/messageDialog.h"
#include "common/logFile.h"
#include "flash/flashPlayerSetup.h"
#include "installer/failureReport.h"
#include "installer/installerApplication.h"
#include "installer/installerCommandLine.h"
#include "installer/launcherHandleParameter.h"
#include "installer/installerLayout.h"
#include "installer/installerTexts.h"
#include "installer/stringTable.h"
#include "installer/launcherLink.h"
#include "installer/licenseText.h"
#include "common/pictureFile.h"
#include "common/crcUtils.h"
#include "common/launcherProtocol.h"
#include "common/runningProgram.h"
#include "package/installerRun.h"
#include "package/packageExtraction.h"
#include "package/integrityRecord.h"
#include "package/packageFormat.h"

namespace {

const char STARTUP_SHORTCUT_SUFFIX[] = "_installer.lnk";

// A package that says its saver needs no movie player: the installer then
// neither looks for one nor plays its movie with one.
bool needsNoMoviePlayer() { return moviePlayerNeedOf(installerRun.header) == MoviePlayerNeed::none; }

// The shortcut a left-over run of this installer may have placed in the
// user's Startup folder; nothing is said whatever becomes of it.
void removeStartupShortcut() {
  uint32_t crc = 0;
  Crc32OfString(ownProgramFile(), crc);
  const std::string startupFolder = getSpecialFolder(CSIDL_STARTUP);
  // Without the folder the name would point at the root of the drive.
  if (startupFolder.empty()) return;
  deleteFileForced(startupFolder + "\\" + std::to_string(crc) + STARTUP_SHORTCUT_SUFFIX);
}

std::vector<std::string> commandLineParameters() {
  return std::vector<std::string>(__argv + 1, __argv + __argc);
}

void showStartupMessage(const StartupMessage &message) {
  switch (message.kind) {
    case StartupMessageKind::errorAbort:
      showErrorMessage(message.text);
      break;
    case StartupMessageKind::errorOk:
      showMessageDialog(DialogKind::Error, DialogButtons::Ok, message.text);
      break;
    case StartupMessageKind::information:
      showInformationMessage(message.text);
      break;
  }
}

}  // namespace

void TInstallerForm::FormCreate() {
  createComponents();
  initializeInstaller();
}

void TInstallerForm::initializeInstaller() {
  TraceScope trace("initializeInstaller");
  BusyCursor busy;
  repaint();
  resetState();
  int32_t status = readPackage();
  bool quiet = false;
  if (status == 0) {
    sendCommandToLauncher(window_, HEADER_READ_COMMAND);
    readCommandLine();
    quiet = installerType == QUIET_TYPE;
    if (quiet)
      preparingWindow_.moveOffScreen();
    else
      preparingWindow_.centerOnScreen();
  }
  if (status == 0) status = runTelling(ComputeSaverPaths);
  if (status == 0) {
    if (installerRun.header.carriesReadMe != 0) status = runTelling(ExtractReadMe);
  }
  if (status == 0 && !needsNoMoviePlayer()) status = decideFlashPlayer();
  if (status == 0 && !quiet) {
    setTitleFromSaverName(installerRun.saverName);
    setApplicationTitle(InstallerTitleFor(installerRun.saverName));
  }
  if (status == 0 && !quiet) status = prepareLicenseMode();
  // Without a window the licence is not shown, but the install still copies
  // it into the saver folder: without it there, every quiet install of a
  // package with a licence would fail at that copy.
  if (status == 0 && quiet && installerRun.header.showLicense != 0) status = runTelling(ExtractLicense);
  // The package's own quiet type carries no picture; "/q" does not count.
  if (status == 0 && installerRun.header.installerType != QUIET_TYPE) status = runTelling(ExtractSplash);
  if (status == 0 && !quiet) status = showPictureOrMovie();
  if (status == 0 && !quiet && !installedDuringStartup) showReadyWindow();
  if (status == 0 && quiet) runQuietInstallation();
  busy.end();
  endStartup(status);
  trace.result(status);
}

// The system paths, the package copy in the work folder and its header,
// before anything else: 0 or the status, told.
int32_t TInstallerForm::readPackage() {
  int32_t status = initSystemPaths(ownProgramFile());
  if (status == 0) {
    ComputePackagePaths();
    installerRun.startedByLauncher = launcherHandleFromParameters(commandLineParameters()) != 0;
    status = runTelling(CopyPackageToWorkFolder);
  }
  if (status == 0) status = runTelling(ReadPackageHeader);
  return status;
}

// The main window, laid out and centred, in place of the preparing window.
void TInstallerForm::showReadyWindow() {
  preparingWindow_.moveOffScreen();
  SendMessageA(progressBar, PBM_SETRANGE32, 0, PROGRESS_MAXIMUM);
  layoutInstallerForm();
  RECT frame;
  GetWindowRect(window_, &frame);
  SetWindowPos(window_, nullptr, centredOrigin(GetSystemMetrics(SM_CXSCREEN), frame.right - frame.left),
               centredOrigin(GetSystemMetrics(SM_CYSCREEN), frame.bottom - frame.top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Nothing the user sees depends on the left-over shortcut, so its removal
// waits until the window shows.
void TInstallerForm::finishStartup() { removeStartupShortcut(); }

void TInstallerForm::resetState() {
  RECT frame;
  GetWindowRect(window_, &frame);
  SetWindowPos(window_, nullptr, 0, 0, scaled(FORM_WIDTH), frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(contentPanel, nullptr, 0, 0, scaled(CONTENT_PANEL.width), scaled(CONTENT_PANEL.height),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  installing = false;
  abortRequested = false;
  installerType = 0;
  licenseShown = false;
  installedDuringStartup = saverMadeActive = false;
  forgetLauncherWindow();
}

// Runs after the header was read, so "/q" overrides the header's type.
void TInstallerForm::readCommandLine() {
  installerType = installerRun.header.installerType;
  const int quietSwitches = countQuietSwitches(commandLineParameters());
  for (int i = 0; i < quietSwitches; ++i) {
    installerType = QUIET_TYPE;
    sendCommandToLauncher(window_, QUIET_INSTALLER_COMMAND);
  }
}

int32_t TInstallerForm::decideFlashPlayer() {
  FlashPlayerDecision decision;
  decision.carriesFlashInstaller = installerRun.header.carriesFlashInstaller != 0;
  decision.flashInstallerVersionIndex = installerRun.header.flashInstallerVersionIndex;
  decision.flashInstallerName = entryNameOf(installerRun.header.entries[ENTRY_FLASH_INSTALLER]);
  return decideFlashPlayerAction(
      decision, flashPlayerStepsFor(window_, [] { return runTelling(ExtractFlashInstaller); }));
}

int32_t TInstallerForm::prepareLicenseMode() {
  licenseShown = installerRun.header.showLicense != 0;
  int32_t status = 0;
  if (licenseShown) {
    status = runTelling(ExtractLicense);
    if (status == 0) {
      createLicenseBoxOnce();
      loadLicenseFile(licenseScrollBox,
                      pathWorkFolder + entryNameOf(installerRun.header.entries[ENTRY_LICENSE]));
      ShowWindow(licenseScrollBox, SW_SHOW);
      setSizeable(true);
      SetWindowPos(licenseScrollBox, nullptr, 0, 0, scaled(LICENSE_BOX.width), scaled(LICENSE_BOX_HEIGHT),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      minimumHeight_ = minimumHeightWithLicense(dpi_);
      SetWindowPos(installBtn, nullptr, 0, 0, scaled(ACCEPT_AND_INSTALL_WIDTH),
                   scaled(INSTALL_BUTTON.height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      SetWindowTextA(installBtn, programText(IDS_ACCEPT_AND_INSTALL).c_str());
      ShowWindow(cancelBtn, SW_SHOW);
    }
  } else {
    SetWindowPos(installBtn, nullptr, 0, 0, scaled(INSTALL_BUTTON.width), scaled(INSTALL_BUTTON.height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextA(installBtn, programText(IDS_INSTALL).c_str());
    setSizeable(false);
    minimumHeight_ = minimumHeightWithoutLicense(dpi_);
    RECT frame, client;
    GetWindowRect(window_, &frame);
    GetClientRect(window_, &client);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left,
                 minimumHeight_ + (frame.bottom - frame.top) - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  placeButtons();
  SetWindowTextA(cancelBtn, programText(IDS_CANCEL).c_str());
  SetWindowTextA(doneBtn, programText(IDS_CLOSE).c_str());
  return status;
}

int32_t TInstallerForm::showPictureOrMovie() {
  const std::string splashPath = pathWorkFolder + entryNameOf(installerRun.header.entries[ENTRY_SPLASH]);
  if (installerType == BITMAP_TYPE || installerType == JPEG_TYPE) {
    showPicture();
    return 0;
  }
  if (!isMovieType(installerType)) return 0;
  // A movie the reader or the player refuses, or one of a package without
  // the player, is not shown: the installation runs at once in the
  // preparing window.
  if (needsNoMoviePlayer() || moviePanel1->playMovie(splashPath) != 0) {
    installedDuringStartup = true;
    return installInPreparingWindow();
  }
  bringToFront();
  DWORD foregroundProcess = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
  if (foregroundProcess == GetCurrentProcessId()) moviePanel1->focusMovie();
  return 0;
}

// A picture that cannot be loaded is told and leaves the box empty; the
// installation still works.
void TInstallerForm::showPicture() {
  ShowWindow(moviePanel1->handle(), SW_HIDE);
  const std::string name = entryNameOf(installerRun.header.entries[ENTRY_SPLASH]);
  picture_ = loadPictureFile(pathWorkFolder + name);
  if (picture_ == nullptr) showErrorMessage(expandText(programText(IDS_CORRUPT_PICTURE), {name}));
  ShowWindow(bmpPanel, SW_SHOW);
  SetWindowPos(bmpPanel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TInstallerForm::endStartup(int32_t status) {
  endsAfterStartup = true;
  // A start-up that failed says so in its exit code too, for scripted installs.
  if (status != 0) exitCode_ = status;
  if (status != 0 && installedDuringStartup) {
    showStartupMessage(preparingInstallEndMessage(status, programText));
  } else if (status != 0) {
    showStartupMessage(startupEndMessage(status, programText));
  } else if (installedDuringStartup) {
    askToOpenControlPanel();
  } else if (installerType == QUIET_TYPE) {
    // Only a package that is quiet by itself opens the control panel.
    if (installerRun.header.offerControlPanel != 0 && countQuietSwitches(commandLineParameters()) == 0)
      sendCommandToLauncher(window_, OPEN_CONTROL_PANEL_COMMAND);
  } else {
    endsAfterStartup = false;
    applyPhase(InstallerPhase::ready);
  }
}
