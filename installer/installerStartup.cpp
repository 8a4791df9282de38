// The main window's side of the start-up, which runs inside its creation
// (installSequence.h): what the window shows of it, licence, picture, movie
// and title, and the left-over shortcut it removes once it shows.
#include "installer/fInstall.h"

#include <shlobj.h>

#include "common/unicodeText.h"
#include "common/QRX_FileUtils.h"
#include "common/crcUtils.h"
#include "common/logFile.h"
#include "common/pictureFile.h"
#include "common/runningProgram.h"
#include "installer/installSequence.h"
#include "installer/installerApplication.h"
#include "installer/installerLayout.h"
#include "installer/licenseText.h"
#include "installer/stringTable.h"

namespace {

const char STARTUP_SHORTCUT_SUFFIX[] = "_installer.lnk";

SIZE frameSizeOf(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void moveCentred(HWND window, SIZE size, UINT flags) {
  SetWindowPos(window, nullptr, centredOrigin(GetSystemMetrics(SM_CXSCREEN), size.cx),
               centredOrigin(GetSystemMetrics(SM_CYSCREEN), size.cy), size.cx, size.cy,
               flags | SWP_NOZORDER | SWP_NOACTIVATE);
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

}  // namespace

void TInstallerForm::FormCreate() {
  createComponents();
  repaint();
  resetState();
  const StartupOutcome outcome = runStartup(run_, *this, programSize_, switches_);
  exitCode_ = outcome.exitCode;
  endsAfterStartup = !outcome.waitsForInstall;
  if (outcome.waitsForInstall) applyPhase(InstallerPhase::ready);
}

void TInstallerForm::startupGoesOn(bool quiet) {
  installerType = run_.plan.installerType;
  if (quiet)
    preparingWindow_.moveOffScreen();
  else
    preparingWindow_.centerOnScreen();
}

void TInstallerForm::showTitle(const std::string &title) {
  const std::wstring wideTitle = wideFromUtf8(title);
  SetWindowTextW(window_, wideTitle.c_str());
  // The picture's name for screen readers.
  SetWindowTextW(bmpPanel, wideTitle.c_str());
  setApplicationTitle(title);
}

void TInstallerForm::showReady() {
  preparingWindow_.moveOffScreen();
  SendMessageA(progressBar, PBM_SETRANGE32, 0, PROGRESS_MAXIMUM);
  placeButtons();
  // Fitted and centred in one move: each move of the window is a round trip
  // to the display. Should the least size the window takes win over the
  // fitted one, the window is centred again at the size it has.
  const SIZE fitted = fittedFrameSize();
  moveCentred(window_, fitted, 0);
  const SIZE placed = frameSizeOf(window_);
  if (placed.cx != fitted.cx || placed.cy != fitted.cy) moveCentred(window_, placed, SWP_NOSIZE);
}

InstallObserver &TInstallerForm::preparingObserver() {
  if (preparingObserver_ == nullptr) {
    preparingObserver_.reset(new PreparingObserver(preparingWindow_, caption()));
    preparingAndLog_.reset(new ObserverPair(*preparingObserver_, log_));
  }
  return *preparingAndLog_;
}

// Nothing the user sees depends on the left-over shortcut, so its removal
// waits until the window shows.
void TInstallerForm::finishStartup() { removeStartupShortcut(); }

void TInstallerForm::resetState() {
  RECT frame;
  GetWindowRect(window_, &frame);
  resizeWindow(window_, scaled(FORM_WIDTH), frame.bottom - frame.top);
  resizeWindow(contentPanel, scaled(CONTENT_PANEL.width), scaled(CONTENT_PANEL.height));
  installing = false;
  abortRequested = false;
  installerType = 0;
  licenseShown = false;
}

void TInstallerForm::showLicense(const std::string &licenseFile) {
  licenseShown = !licenseFile.empty();
  if (licenseShown) {
    createLicenseBoxOnce();
    loadLicenseFile(licenseScrollBox, licenseFile);
    ShowWindow(licenseScrollBox, SW_SHOW);
    setSizeable(true);
    SetWindowPos(licenseScrollBox, nullptr, 0, 0, scaled(LICENSE_BOX.width), scaled(LICENSE_BOX_HEIGHT),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    minimumHeight_ = minimumHeightWithLicense(dpi_);
    SetWindowPos(installBtn, nullptr, 0, 0, scaled(ACCEPT_AND_INSTALL_WIDTH), scaled(INSTALL_BUTTON.height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextW(installBtn, wideFromUtf8(programText(IDS_ACCEPT_AND_INSTALL)).c_str());
    ShowWindow(cancelBtn, SW_SHOW);
  } else {
    SetWindowPos(installBtn, nullptr, 0, 0, scaled(INSTALL_BUTTON.width), scaled(INSTALL_BUTTON.height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextW(installBtn, wideFromUtf8(programText(IDS_INSTALL)).c_str());
    setSizeable(false);
    // The height follows in showReady, before the window first shows.
    minimumHeight_ = minimumHeightWithoutLicense(dpi_);
  }
  placeButtons();
  SetWindowTextW(cancelBtn, wideFromUtf8(programText(IDS_CANCEL)).c_str());
  SetWindowTextW(doneBtn, wideFromUtf8(programText(IDS_CLOSE)).c_str());
}

bool TInstallerForm::showPicture(const std::string &file) {
  ShowWindow(moviePanel1->handle(), SW_HIDE);
  picture_ = loadPictureFile(file);
  ShowWindow(bmpPanel, SW_SHOW);
  SetWindowPos(bmpPanel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return picture_ != nullptr;
}

bool TInstallerForm::playMovie(const std::string &file) {
  if (moviePanel1->playMovie(file) != 0) return false;
  bringToFront();
  DWORD foregroundProcess = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
  if (foregroundProcess == GetCurrentProcessId()) moviePanel1->focusMovie();
  return true;
}
