#include "package/installError.h"

#include "common/dialogs/messageDialog.h"
#include "common/logFile.h"
#include "package/packageStatus.h"

void ReportInstallError(int32_t code, const std::string &fileText) {
  logEnterWithArg("ReportInstallError", std::to_string(code) + " " + fileText);
  showErrorMessage(installErrorText(code, fileText));
  logLeave("ReportInstallError");
}
