#include "installer/failureReport.h"

#include "common/dialogs/messageDialog.h"
#include "common/dialogs/systemErrorText.h"
#include "installer/installerTexts.h"
#include "installer/stringTable.h"

void showFailureBox(const Failure &failure) {
  const FailureMessage message =
      failureMessage(failure, systemErrorText(failure.status), installerText(IDS_FLASH_PLAYER_ADDRESS));
  showMessageDialog(message.kind, message.buttons, message.text);
}
