#include "installer/failureReport.h"

#include "common/dialogs/messageDialog.h"
#include "common/dialogs/systemErrorText.h"
#include "common/unicodeText.h"
#include "installer/installerTexts.h"

void showFailureBox(const Failure &failure) {
  const Failure shown = {failure.kind, failure.status, utf8OfEither(failure.subject)};
  const FailureMessage message = failureMessage(shown, systemErrorText(failure.status), programText);
  showMessageDialog(message.kind, message.buttons, message.text);
}
