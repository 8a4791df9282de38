// The installation: the steps from closing an open display control panel to
// the uninstall entry, its three ways (the window's "Install", quiet, in the
// preparing window), "Cancel", the clean-up after a failure and the question
// whether to open the screen saver control panel.
#include "installer/fInstall.h"

#include <commctrl.h>

#include "common/QRX_FileUtils.h"
#include "common/QRX_OSUtils.h"
#include "common/dialogs/messageDialog.h"
#include "common/dialogs/systemErrorText.h"
#include "common/logFile.h"
#include "installer/displayControlPanel.h"
#include "installer/failureReport.h"
#include "installer/filePlacement.h"
#include "installer/installerApplication.h"
#include "installer/installerLayout.h"
#include "installer/installerTexts.h"
#include "installer/stringTable.h"
#include "installer/launcherLink.h"
#include "common/launcherProtocol.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "package/installerRun.h"
#include "package/packageExtraction.h"
#include "installer/uninstallRegistration.h"
#include "package/packageFormat.h"
#include "package/saverDataFile.h"
#include "package/saverRemoval.h"
#include "package/win32File.h"

namespace {

// The saver program's file name as the package carries it (entry 6).
std::string carriedProgramName() { return entryNameOf(installerRun.header.entries[ENTRY_SAVER_PROGRAM]); }

}  // namespace

// A step runs while nothing failed and nobody cancelled; once the launcher
// has made the new saver the active one, "Cancel" no longer stops the rest.
bool TInstallerForm::stepsGoOn(int32_t status) const {
  return status == 0 && (!abortRequested || saverMadeActive);
}

int32_t TInstallerForm::runInstallation() {
  TraceScope trace("runInstallation");
  BusyCursor busy;
  saverMadeActive = false;
  setupInstallerFormForInstallation();
  int32_t status = 0;
  if (stepsGoOn(status)) closeDisplayControlPanel();
  if (stepsGoOn(status)) {
    status = PrepareSaverFolder(pathCommonAppData, installerRun.codedShortName, installerRun.saverName,
                                programText(IDS_OVERWRITE_QUESTION), installerType != QUIET_TYPE);
    if (status == STATUS_USER_ABORT) abortRequested = true;
    preparingWindow_.repaint();
  }
  const std::vector<std::string> librariesBefore = SharedLibrariesPresent();
  if (stepsGoOn(status)) status = extractInstallFiles(installerRun.packagePath);
  if (stepsGoOn(status)) status = runTelling(ReadSaverSettings);
  if (stepsGoOn(status)) status = ExpandAllMembers();
  if (stepsGoOn(status)) status = WriteSaverSettings();
  if (stepsGoOn(status)) {
    sendCommandToLauncher(window_, makeActiveSaverCommand(carriedProgramName()));
    saverMadeActive = true;
  }
  if (stepsGoOn(status)) status = CopyDocsToSaverFolder();
  if (stepsGoOn(status)) OpenReadMe(window_);
  if (stepsGoOn(status)) {
    RegisterUninstall(installerRun.saverName, installerRun.codedShortName,
                      CountSharedLibraryUsers(librariesBefore));
    status = 0;  // the saver works without its uninstall entry
  }
  deleteFileForced(installerRun.dataFile);
  if (status != 0 && status != STATUS_USER_ABORT) cleanupFailedInstallation();
  if (!abortRequested || saverMadeActive) {
    setupFormForInstallationComplete(status);
  } else {
    showStatus(programText(IDS_ABORTED_CLEANING_UP));
    if (status != STATUS_USER_ABORT) cleanupFailedInstallation();
    resetAfterAbort();
  }
  return trace.result(status);
}

// Entries 5 (when a ReadMe is carried) or 6 to 10; each shows its progress
// step before it is written, which is where "Cancel" is heard.
int32_t TInstallerForm::extractInstallFiles(const std::string &packagePath) {
  ReadOnlyFile package;
  int32_t status = package.open(packagePath);
  if (status != 0) {
    showErrorMessage(packagePath + "\r\n\r\n" + systemErrorText(status));
    return status;
  }
  const int first = installerRun.header.carriesReadMe != 0 ? ENTRY_README : ENTRY_SAVER_PROGRAM;
  for (int index = first; index <= ENTRY_LAST && stepsGoOn(status); ++index) {
    showStatus(programText(IDS_WRITING_FILES));
    Failures failures;
    status = told(ExtractEntry(package, index, true, failures), failures);
  }
  return status;
}

void TInstallerForm::installBtnClick() {
  if (installing) return;
  installing = true;
  abortRequested = false;
  const int32_t status = runInstallation();
  if (!abortRequested && status == 0) askToOpenControlPanel();
  installing = false;
  if (status == 0) closeAndEnd();
}

void TInstallerForm::cancelBtnClick() {
  if (!installing) {
    closeAndEnd();
    return;
  }
  abortRequested = true;
  showStatus(programText(IDS_ABORTED_CLEANING_UP));
  setProgress(0);
  pauseBriefly();
  pauseBriefly();
}

void TInstallerForm::setupInstallerFormForInstallation() {
  if (installerType == QUIET_TYPE) return;
  applyPhase(InstallerPhase::installing);
  showStatus(programText(IDS_INSTALLING));
}

void TInstallerForm::setupFormForInstallationComplete(int32_t status) {
  if (installerType == QUIET_TYPE) return;
  if (status == 0) setProgress(PROGRESS_MAXIMUM);
  pauseBriefly();
  pauseBriefly();
  setProgress(0);
  const Completion completion = completionFor(status, programText);
  showStatus(completion.statusLine);
  applyPhase(completion.phase);
  if (completion.reportError) ReportInstallError(status, std::to_string(status));
  if (status == 0) repaint();
}

// Removes what an installation placed, by the rules the uninstaller follows.
// The program's name comes from the package; an unsafe one is not touched.
void TInstallerForm::cleanupFailedInstallation() {
  removeInstalledSaver(findInstalledSaver(installerRun.codedShortName, carriedProgramName()));
  UnregisterUninstall(installerRun.saverName);
}

void TInstallerForm::resetAfterAbort() {
  if (installerType == QUIET_TYPE) return;
  setProgress(0);
  SetWindowTextA(labCopying, "");
  applyPhase(InstallerPhase::afterAbort);
  repaint();
}

void TInstallerForm::askToOpenControlPanel() {
  if (installerRun.header.offerControlPanel == 0) return;
  bringToFront();
  if (!askYesNo(programText(IDS_OPEN_CONTROL_PANEL_QUESTION))) return;
  showStatus(programText(IDS_OPENING_CONTROL_PANEL));
  processPendingMessages();
  sendCommandToLauncher(window_, OPEN_CONTROL_PANEL_COMMAND);
}

// Neither the main window nor the overwrite question is used: the quiet
// type stands in while the preparing window tells the progress.
int32_t TInstallerForm::installInPreparingWindow() {
  const uint8_t rememberedType = installerType;
  installerType = QUIET_TYPE;
  char caption[512] = "";
  GetWindowTextA(window_, caption, sizeof caption);
  preparingWindow_.setCaption(caption);
  preparingWindow_.setMessage(programText(IDS_INSTALLING));
  const int32_t status = runInstallation();
  preparingWindow_.setMessage(status == 0 ? programText(IDS_INSTALLATION_SUCCESSFUL)
                                          : installFailedText(status, programText));
  installerType = rememberedType;
  return status;
}

void TInstallerForm::runQuietInstallation() { exitCode_ = runInstallation(); }
