#include "installer/installObservers.h"

#include "common/dialogs/messageDialog.h"
#include "installer/failureReport.h"
#include "installer/installerApplication.h"
#include "installer/installerTexts.h"

bool QuietObserver::ask(Question question, const std::string &) {
  return question == Question::overwriteSaver;
}

void QuietObserver::failed(const Failure &failure) { showFailureBox(failure); }

void PreparingObserver::installStarted() {
  window_.setCaption(caption_);
  window_.setMessage(programText(IDS_INSTALLING));
  window_.repaint();
}

void PreparingObserver::installEnded(int32_t status, bool) {
  window_.setMessage(status == 0 ? programText(IDS_INSTALLATION_SUCCESSFUL)
                                 : installFailedText(status, programText));
}

bool PreparingObserver::ask(Question question, const std::string &text) {
  if (question != Question::openControlPanel) return QuietObserver::ask(question, text);
  bringApplicationToFront(window_.handle(), nullptr);
  return askYesNo(text);
}
