#include "launcher/launcherReport.h"

#include "common/dialogs/installErrorText.h"
#include "common/dialogs/messageDialog.h"
#include "common/runLog.h"
#include "launcher/launcherRun.h"
#include "launcher/launcherTexts.h"

void reportLauncherError(int32_t status, const std::string &subject, const std::string &text) {
  launcherRun.log.write(failureText(status, subject, text));
  if (!launcherRun.silent) showErrorMessage(text);
}

void reportLauncherInstallError(int32_t code, const std::string &file) {
  launcherRun.log.write(failureText(code, file, installErrorText(code, file, programText)));
  if (!launcherRun.silent) ReportInstallError(code, file);
}
