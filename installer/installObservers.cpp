#include "installer/installObservers.h"

#include "common/unicodeText.h"
#include "common/dialogs/messageDialog.h"
#include "common/dialogs/systemErrorText.h"
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

void LogObserver::installEnded(int32_t status, bool aborted) {
  log_.write("install ended with status " + std::to_string(status) + (aborted ? ", cancelled" : ""));
}

bool LogObserver::ask(Question, const std::string &text) {
  log_.write("question: " + text);
  return false;
}

void LogObserver::answered(Question question, bool answer) {
  if (question == Question::overwriteSaver)
    log_.write(answer ? "answer: OK" : "answer: Cancel");
  else
    log_.write(answer ? "answer: Yes" : "answer: No");
}

// The text of the box the failure would show, whether or not one is shown.
void LogObserver::failed(const Failure &failure) {
  const Failure shown = {failure.kind, failure.status, utf8OfEither(failure.subject)};
  const FailureMessage message = failureMessage(shown, systemErrorText(failure.status), programText);
  log_.write(failureText(failure.status, shown.subject, message.text));
}
