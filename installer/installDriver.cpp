// The main window's side of an installation: "Install" and "Cancel", and the
// install sequence told in its status line, progress bar and boxes.
#include "installer/fInstall.h"

#include <commctrl.h>

#include "common/unicodeText.h"
#include "common/dialogs/messageDialog.h"
#include "common/logFile.h"
#include "installer/failureReport.h"
#include "installer/installSequence.h"
#include "installer/installerApplication.h"
#include "installer/installerLayout.h"
#include "installer/installerTexts.h"

void TInstallerForm::installBtnClick() {
  if (installing) return;
  installing = true;
  abortRequested = false;
  const int32_t status = runInstallation(run_.package, run_.plan, windowAndLog_, window_).status;
  if (!abortRequested && status == 0) offerControlPanel(run_.package.header(), windowAndLog_, window_);
  installing = false;
  if (status == 0) closeAndEnd();
}

void TInstallerForm::cancelBtnClick() {
  if (!installing) {
    closeAndEnd();
    return;
  }
  abortRequested = true;
  status(programText(IDS_ABORTED_CLEANING_UP));
  setProgress(0);
  pauseBriefly();
  pauseBriefly();
}

void TInstallerForm::installStarted() {
  applyPhase(InstallerPhase::installing);
  status(programText(IDS_INSTALLING));
}

void TInstallerForm::installEnded(int32_t status, bool aborted) {
  if (aborted)
    resetAfterAbort();
  else
    setupFormForInstallationComplete(status);
}

bool TInstallerForm::ask(Question question, const std::string &text) {
  if (question == Question::overwriteSaver) return askOkCancel(text);
  bringToFront();
  return askYesNo(text);
}

void TInstallerForm::failed(const Failure &failure) { showFailureBox(failure); }

void TInstallerForm::setupFormForInstallationComplete(int32_t status) {
  if (status == 0) setProgress(PROGRESS_MAXIMUM);
  pauseBriefly();
  pauseBriefly();
  setProgress(0);
  const Completion completion = completionFor(status, programText);
  this->status(completion.statusLine);
  applyPhase(completion.phase);
  if (completion.reportError) failed(Failure{FailureKind::File, status, std::to_string(status)});
  if (status == 0) repaint();
}

void TInstallerForm::resetAfterAbort() {
  setProgress(0);
  SetWindowTextW(labCopying, L"");
  applyPhase(InstallerPhase::afterAbort);
  repaint();
}

std::string TInstallerForm::caption() const {
  wchar_t text[512] = L"";
  return utf8FromWide(text, GetWindowTextW(window_, text, 512));
}
