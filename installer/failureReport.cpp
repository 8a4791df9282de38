#include "installer/failureReport.h"

#include "common/dialogs/messageDialog.h"
#include "common/dialogs/systemErrorText.h"
#include "installer/installerTexts.h"

int32_t told(int32_t status, Failures &failures) {
  for (const Failure &failure : failures) {
    const FailureMessage message = failureMessage(failure, systemErrorText(failure.status), programText);
    showMessageDialog(message.kind, message.buttons, message.text);
  }
  failures.clear();
  return status;
}

int32_t runTelling(int32_t (*operation)(Failures &failures)) {
  Failures failures;
  return told(operation(failures), failures);
}
