// The one voice of an installer run. The start-up and install steps tell
// what happens here, and nowhere else: a status line, a step of progress, a
// question, a failure with its status and what it concerns, and the pauses
// in which the user's "Cancel" is seen. The main window, the preparing
// window and quiet mode each listen in their own way; two can listen at
// once. Passed down to the steps, never kept in a global. Portable.
#ifndef SAVER_PACKAGE_INSTALL_OBSERVER_H
#define SAVER_PACKAGE_INSTALL_OBSERVER_H

#include "package/packageFailure.h"

#include <cstdint>
#include <string>

enum class Question {
  overwriteSaver,    // an older copy is there: "OK" replaces it
  openControlPanel,  // after a successful install: "Yes" opens it
};

class InstallObserver {
 public:
  virtual ~InstallObserver() = default;
  // The install sequence starts, and ends with status; aborted when the
  // user's "Cancel" stopped it before the saver was made active.
  virtual void installStarted() = 0;
  virtual void installEnded(int32_t status, bool aborted) = 0;
  virtual void status(const std::string &text) = 0;
  virtual void progress() = 0;
  // The answer; an observer that shows nothing answers for the user.
  virtual bool ask(Question question, const std::string &text) = 0;
  // The answer another observer gave, for one that only listens (a log).
  virtual void answered(Question /*question*/, bool /*answer*/) {}
  virtual void failed(const Failure &failure) = 0;
  // What the install changed on the machine, for a log: a file placed with
  // its size, a registry value written ("HKLM\\...\\key", value name, data as
  // text). The windows show neither.
  virtual void placed(const std::string & /*path*/, uint64_t /*size*/) {}
  virtual void valueWritten(const std::string & /*key*/, const std::string & /*name*/,
                            const std::string & /*data*/) {}
  // A moment for the user's input; cancelled() tells what it brought.
  virtual void pause() = 0;
  virtual bool cancelled() const = 0;
};

// Tells two observers each event, in order; the first one's answers count.
class ObserverPair : public InstallObserver {
 public:
  ObserverPair(InstallObserver &first, InstallObserver &second) : first_(first), second_(second) {}
  void installStarted() override;
  void installEnded(int32_t status, bool aborted) override;
  void status(const std::string &text) override;
  void progress() override;
  bool ask(Question question, const std::string &text) override;
  void answered(Question question, bool answer) override;
  void failed(const Failure &failure) override;
  void placed(const std::string &path, uint64_t size) override;
  void valueWritten(const std::string &key, const std::string &name, const std::string &data) override;
  void pause() override;
  bool cancelled() const override;

 private:
  InstallObserver &first_;
  InstallObserver &second_;
};

// The pause between two blocks of a long copy or expansion, for the
// observer watching it (nullptr for none): STATUS_USER_ABORT once it has
// been cancelled, else 0.
int32_t pauseBetweenBlocks(InstallObserver *watching);

// Tells each failure a step collected, in order, empties the list and
// returns the step's status: status = tell(observer, step(..., failures), failures).
int32_t tell(InstallObserver &observer, int32_t status, Failures &failures);

#endif
