#include "installer/failureReport.h"

#include "common/dialogs/messageDialog.h"
#include "common/dialogs/systemErrorText.h"
#include "installer/installerTexts.h"

void showFailureBox(const Failure &failure) {
  const FailureMessage message = failureMessage(failure, systemErrorText(failure.status), programText);
  showMessageDialog(message.kind, message.buttons, message.text);
}
