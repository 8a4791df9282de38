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
#include "common/crcUtils.h"
#include "common/launcherProtocol.h"
#include "common/logFile.h"
#include "common/osClassification.h"
#include "common/pathRules.h"
#include "common/pictureFile.h"
#include "common/runningProgram.h"
#include "flash/flashPlayerSetup.h"
#include "installer/installSequence.h"
#include "installer/installerApplication.h"
#include "installer/installerLayout.h"
#include "installer/installerTexts.h"
#include "installer/launcherHandleParameter.h"
#include "installer/launcherLink.h"
#include "installer/licenseText.h"
#include "installer/stringTable.h"
#include "package/integrityRecord.h"
#include "package/packageCopy.h"
#include "package/packageFormat.h"

namespace {

const char STARTUP_SHORTCUT_SUFFIX[] = "_installer.lnk";

// A package that says its saver needs no movie player: the installer then
// neither looks for one nor plays its movie with one.
bool needsNoMoviePlayer(const InstallerHeader &header) {
  return moviePlayerNeedOf(header) == MoviePlayerNeed::none;
}

std::string systemLowerCase(const std::string &text) {
  std::string lower = text;
  if (!lower.empty()) CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
  return lower;
}

// What the plan needs of this system; the paths are set by now.
PlanSystem planSystem() {
  PlanSystem system;
  system.windows = pathWindows;
  system.system = pathSystem;
  if (GetOperatingSystem() == OS_64BIT_WINDOWS) system.nativeSystem = pathSysnative;
  system.shared = pathCommonAppData;
  system.work = pathWorkFolder;
  system.installerFile = ownProgramFile();
  system.lowerCase = systemLowerCase;
  system.installText = installerText(IDS_INSTALL);
  system.screenSaverText = installerText(IDS_SCREEN_SAVER);
  return system;
}

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
  const InstallerHeader &header = package_.header();
  bool quiet = false;
  if (status == 0) {
    sendCommandToLauncher(window_, HEADER_READ_COMMAND);
    readCommandLine();
    quiet = plan_.quiet;
    if (quiet)
      preparingWindow_.moveOffScreen();
    else
      preparingWindow_.centerOnScreen();
  }
  if (status == 0 && plan_.status != 0) {
    startupObserver().failed(Failure{FailureKind::File, plan_.status, plan_.unsafeName});
    status = plan_.status;
  }
  if (status == 0 && header.carriesReadMe != 0) status = extractStartupEntry(ENTRY_README);
  if (status == 0 && !needsNoMoviePlayer(header)) status = decideFlashPlayer();
  if (status == 0 && !quiet) {
    SetWindowTextA(window_, plan_.windowTitle.c_str());
    setApplicationTitle(plan_.windowTitle);
  }
  if (status == 0 && !quiet) status = prepareLicenseMode();
  // Without a window the licence is not shown, but the install still copies
  // it into the saver folder: without it there, every quiet install of a
  // package with a licence would fail at that copy.
  if (status == 0 && quiet && header.showLicense != 0) status = extractStartupEntry(ENTRY_LICENSE);
  // The package's own quiet type carries no picture; "/q" does not count.
  if (status == 0 && header.installerType != QUIET_TYPE) status = extractStartupEntry(ENTRY_SPLASH);
  if (status == 0 && !quiet) status = showPictureOrMovie();
  if (status == 0 && !quiet && !installedDuringStartup) showReadyWindow();
  if (status == 0 && quiet) runQuietInstallation();
  busy.end();
  endStartup(status);
  trace.result(status);
}

// The system paths, the package in the work folder, opened for the run, its
// header and the plan that follows from it, and the decompression library,
// before anything else: 0 or the status, told.
int32_t TInstallerForm::readPackage() {
  int32_t status = initSystemPaths(ownProgramFile());
  Failures failures;
  if (status == 0) {
    plan_.installerFile = ownProgramFile();
    plan_.packagePath = packageCopyPath(pathWorkFolder);
    const bool startedByLauncher = launcherHandleFromParameters(commandLineParameters()) != 0;
    status = CopyPackageToWorkFolder(plan_.installerFile, plan_.packagePath, startedByLauncher,
                                     packageLinked_, failures);
  }
  if (status == 0) {
    status = package_.open(plan_.packagePath, pathWorkFolder);
    if (status != 0) addFailure(failures, FailureKind::File, status, plan_.packagePath);
  }
  if (status == 0) status = package_.readHeader(programSize_, failures);
  if (status == 0) {
    plan_ = makeInstallPlan(package_.header(), commandLineParameters(), planSystem());
    status = package_.extractEntry(ENTRY_CODEC_LIBRARY, plan_.entries[ENTRY_CODEC_LIBRARY], failures);
  }
  return tell(startupObserver(), status, failures);
}

// One entry of the start-up, without progress; an absent one fails with
// STATUS_ENTRY_ABSENT and nothing to tell.
int32_t TInstallerForm::extractStartupEntry(int index) {
  if (!entryPresent(package_.header().entries[index])) return STATUS_ENTRY_ABSENT;
  Failures failures;
  return tell(startupObserver(), package_.extractEntry(index, plan_.entries[index], failures), failures);
}

InstallObserver &TInstallerForm::startupObserver() {
  if (installerType == QUIET_TYPE) return quietObserver_;
  return *this;
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
  installedDuringStartup = false;
  forgetLauncherWindow();
}

// Runs after the header was read, so "/q" overrides the header's type.
void TInstallerForm::readCommandLine() {
  installerType = plan_.installerType;
  for (int i = 0; i < plan_.quietSwitches; ++i) sendCommandToLauncher(window_, QUIET_INSTALLER_COMMAND);
}

int32_t TInstallerForm::decideFlashPlayer() {
  const InstallerHeader &header = package_.header();
  FlashPlayerDecision decision;
  decision.carriesFlashInstaller = header.carriesFlashInstaller != 0;
  decision.flashInstallerVersionIndex = header.flashInstallerVersionIndex;
  decision.flashInstallerName = entryNameOf(header.entries[ENTRY_FLASH_INSTALLER]);
  return decideFlashPlayerAction(decision, flashPlayerStepsFor(window_, [this] {
                                   return extractStartupEntry(ENTRY_FLASH_INSTALLER);
                                 }));
}

int32_t TInstallerForm::prepareLicenseMode() {
  licenseShown = package_.header().showLicense != 0;
  int32_t status = 0;
  if (licenseShown) {
    status = extractStartupEntry(ENTRY_LICENSE);
    if (status == 0) {
      createLicenseBoxOnce();
      loadLicenseFile(licenseScrollBox, plan_.licenseFile);
      ShowWindow(licenseScrollBox, SW_SHOW);
      setSizeable(true);
      SetWindowPos(licenseScrollBox, nullptr, 0, 0, scaled(LICENSE_BOX.width), scaled(LICENSE_BOX_HEIGHT),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      minimumHeight_ = minimumHeightWithLicense(dpi_);
      SetWindowPos(installBtn, nullptr, 0, 0, scaled(ACCEPT_AND_INSTALL_WIDTH),
                   scaled(INSTALL_BUTTON.height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      SetWindowTextA(installBtn, installerText(IDS_ACCEPT_AND_INSTALL).c_str());
      ShowWindow(cancelBtn, SW_SHOW);
    }
  } else {
    SetWindowPos(installBtn, nullptr, 0, 0, scaled(INSTALL_BUTTON.width), scaled(INSTALL_BUTTON.height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextA(installBtn, installerText(IDS_INSTALL).c_str());
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
  SetWindowTextA(cancelBtn, installerText(IDS_CANCEL).c_str());
  SetWindowTextA(doneBtn, installerText(IDS_CLOSE).c_str());
  return status;
}

int32_t TInstallerForm::showPictureOrMovie() {
  if (installerType == BITMAP_TYPE || installerType == JPEG_TYPE) {
    showPicture();
    return 0;
  }
  if (!isMovieType(installerType)) return 0;
  // A movie the reader or the player refuses, or one of a package without
  // the player, is not shown: the installation runs at once in the
  // preparing window.
  if (needsNoMoviePlayer(package_.header()) || moviePanel1->playMovie(plan_.splashFile) != 0) {
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
  picture_ = loadPictureFile(plan_.splashFile);
  if (picture_ == nullptr)
    failed(Failure{FailureKind::PictureUnreadable, 0, fileNamePart(plan_.splashFile)});
  ShowWindow(bmpPanel, SW_SHOW);
  SetWindowPos(bmpPanel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TInstallerForm::endStartup(int32_t status) {
  endsAfterStartup = true;
  // A start-up that failed says so in its exit code too, for scripted installs.
  if (status != 0) exitCode_ = status;
  if (status != 0) {
    // The package was read when the install ran in the preparing window: its
    // failure is a failed installation, not a damaged file.
    const FailureKind kind = installedDuringStartup ? FailureKind::InstallEnded : FailureKind::StartupEnded;
    startupObserver().failed(Failure{kind, status, ""});
  } else if (installedDuringStartup) {
    PreparingObserver observer(preparingWindow_, caption());
    offerControlPanel(package_.header(), observer, window_);
  } else if (installerType == QUIET_TYPE) {
    if (plan_.opensControlPanelWhenQuiet) sendCommandToLauncher(window_, OPEN_CONTROL_PANEL_COMMAND);
  } else {
    endsAfterStartup = false;
    applyPhase(InstallerPhase::ready);
  }
}
