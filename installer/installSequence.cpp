#include "installer/installSequence.h"

#include "common/QRX_FileUtils.h"
#include "common/launcherProtocol.h"
#include "common/logFile.h"
#include "common/statusCodes.h"
#include "installer/displayControlPanel.h"
#include "installer/filePlacement.h"
#include "installer/installerApplication.h"
#include "installer/installerTexts.h"
#include "installer/launcherLink.h"
#include "installer/uninstallRegistration.h"
#include "package/saverRemoval.h"

namespace {

// The state of one install: a step runs while nothing failed and nobody
// cancelled; once the launcher has made the new saver the active one,
// "Cancel" no longer stops the rest.
struct Steps {
  InstallObserver &observer;
  int32_t status = STATUS_OK;
  bool abortedAtQuestion = false;
  bool saverMadeActive = false;

  bool aborted() const { return abortedAtQuestion || observer.cancelled(); }
  bool goOn() const { return status == STATUS_OK && (!aborted() || saverMadeActive); }
};

// Entries 5 (when a read-me is carried) or 6 to 10; each steps the progress
// before it is written, which is where "Cancel" is heard.
void extractInstallFiles(Package &package, const InstallPlan &plan, Steps &steps) {
  for (int index = plan.firstInstallEntry; index <= ENTRY_LAST && steps.goOn(); ++index) {
    steps.observer.status(WRITING_FILES_TEXT);
    if (entryPresent(package.header().entries[index]) && plan.entries[index].status != STATUS_UNSAFE_NAME)
      steps.observer.progress();
    Failures failures;
    steps.status =
        tell(steps.observer, package.extractEntry(index, plan.entries[index], failures), failures);
  }
}

// Removes what an installation placed, by the rules the uninstaller follows.
// The program's name comes from the package; an unsafe one is not touched.
void cleanUpFailedInstallation(const InstallPlan &plan) {
  removeInstalledSaver(findInstalledSaver(plan.codedShortName, plan.programName));
  UnregisterUninstall(plan.saverName);
}

}  // namespace

InstallOutcome runInstallation(Package &package, const InstallPlan &plan, InstallObserver &observer,
                               HWND ownWindow) {
  TraceScope trace("runInstallation");
  BusyCursor busy;
  Steps steps{observer};
  observer.installStarted();
  if (steps.goOn()) closeDisplayControlPanel();
  if (steps.goOn()) {
    steps.status = PrepareSaverFolder(plan.folders.shared, plan.codedShortName, plan.saverName, observer);
    steps.abortedAtQuestion = steps.status == STATUS_USER_ABORT;
  }
  const std::vector<std::string> librariesBefore = SharedLibrariesPresent(plan);
  if (steps.goOn()) extractInstallFiles(package, plan, steps);
  Failures failures;
  if (steps.goOn())
    steps.status = tell(observer, package.readSaverSettings(plan.dataFile, failures), failures);
  if (steps.goOn()) steps.status = ExpandAllMembers(package, plan, observer);
  if (steps.goOn()) steps.status = WriteSaverSettings(package, plan, observer);
  if (steps.goOn()) {
    sendCommandToLauncher(ownWindow, makeActiveSaverCommand(plan.programName));
    steps.saverMadeActive = true;
  }
  if (steps.goOn()) steps.status = CopyDocsToSaverFolder(package.header(), plan);
  if (steps.goOn()) OpenReadMe(plan, ownWindow);
  // The saver works without its uninstall entry.
  if (steps.goOn()) RegisterUninstall(plan, CountSharedLibraryUsers(plan, librariesBefore));
  package.closeDataFile(failures);
  deleteFileForced(plan.dataFile);

  const int32_t status = steps.status;
  if (status != STATUS_OK && status != STATUS_USER_ABORT) cleanUpFailedInstallation(plan);
  const bool aborted = steps.aborted() && !steps.saverMadeActive;
  if (aborted) {
    observer.status(ABORTED_CLEANING_UP_TEXT);
    if (status != STATUS_USER_ABORT) cleanUpFailedInstallation(plan);
  }
  observer.installEnded(status, aborted);
  return InstallOutcome{trace.result(status), aborted};
}

void offerControlPanel(const InstallerHeader &header, InstallObserver &observer, HWND ownWindow) {
  if (header.offerControlPanel == 0) return;
  if (!observer.ask(Question::openControlPanel, OPEN_CONTROL_PANEL_QUESTION)) return;
  observer.status(OPENING_CONTROL_PANEL_TEXT);
  processPendingMessages();
  sendCommandToLauncher(ownWindow, OPEN_CONTROL_PANEL_COMMAND);
}
