#include "installer/failureReport.h"

#include "common/dialogs/messageDialog.h"
#include "common/dialogs/systemErrorText.h"
#include "common/logFile.h"
#include "installer/installerMessages.h"

void tellFailures(Failures &failures) {
  for (const Failure &failure : failures) {
    TraceScope trace("tellFailure", std::to_string(failure.status) + " " + failure.subject);
    const FailureMessage message = failureMessage(failure, systemErrorText(failure.status));
    showMessageDialog(message.kind, message.buttons, message.text);
  }
  failures.clear();
}
