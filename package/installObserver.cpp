#include "package/installObserver.h"

#include "common/statusCodes.h"

void ObserverPair::installStarted() {
  first_.installStarted();
  second_.installStarted();
}

void ObserverPair::installEnded(int32_t status, bool aborted) {
  first_.installEnded(status, aborted);
  second_.installEnded(status, aborted);
}

void ObserverPair::status(const std::string &text) {
  first_.status(text);
  second_.status(text);
}

void ObserverPair::progress() {
  first_.progress();
  second_.progress();
}

// The second hears the question too, so that a log can record it, but the
// first one answers, and the second hears what.
bool ObserverPair::ask(Question question, const std::string &text) {
  const bool answer = first_.ask(question, text);
  second_.ask(question, text);
  second_.answered(question, answer);
  return answer;
}

void ObserverPair::answered(Question question, bool answer) {
  first_.answered(question, answer);
  second_.answered(question, answer);
}

void ObserverPair::failed(const Failure &failure) {
  first_.failed(failure);
  second_.failed(failure);
}

void ObserverPair::placed(const std::string &path, uint64_t size) {
  first_.placed(path, size);
  second_.placed(path, size);
}

void ObserverPair::valueWritten(const std::string &key, const std::string &name, const std::string &data) {
  first_.valueWritten(key, name, data);
  second_.valueWritten(key, name, data);
}

void ObserverPair::pause() {
  first_.pause();
  second_.pause();
}

bool ObserverPair::cancelled() const { return first_.cancelled() || second_.cancelled(); }

int32_t tell(InstallObserver &observer, int32_t status, Failures &failures) {
  for (const Failure &failure : failures) observer.failed(failure);
  failures.clear();
  return status;
}

int32_t pauseBetweenBlocks(InstallObserver *watching) {
  if (watching == nullptr) return STATUS_OK;
  watching->pause();
  return watching->cancelled() ? STATUS_USER_ABORT : STATUS_OK;
}
