// The ways an install is told beside the main window (TInstallerForm): quiet
// mode, which shows only the boxes of what failed; silent mode, which shows
// nothing; the small preparing window, which tells the install's start and
// end in its one line; and the run log, which listens beside any of them.
#ifndef SAVER_INSTALLER_INSTALL_OBSERVERS_H
#define SAVER_INSTALLER_INSTALL_OBSERVERS_H

#include "common/runLog.h"
#include "common/unicodeText.h"
#include "installer/fPreparingInstallWnd.h"
#include "package/installObserver.h"

// Nothing on the screen but failures; an older copy is replaced unasked.
class QuietObserver : public InstallObserver {
 public:
  void installStarted() override {}
  void installEnded(int32_t, bool) override {}
  void status(const std::string &) override {}
  void progress() override {}
  bool ask(Question question, const std::string &text) override;
  void failed(const Failure &failure) override;
  void pause() override {}
  bool cancelled() const override { return false; }
};

// Nothing on the screen at all: the exit code and the log tell the rest.
class SilentObserver : public QuietObserver {
 public:
  void failed(const Failure &) override {}
};

// As quiet mode, with the install's course in the preparing window, whose
// caption is the main window's title; the control-panel question is asked.
class PreparingObserver : public QuietObserver {
 public:
  PreparingObserver(TpreparingInstallWnd &window, const std::string &caption)
      : window_(window), caption_(caption) {}
  void installStarted() override;
  void installEnded(int32_t status, bool aborted) override;
  bool ask(Question question, const std::string &text) override;

 private:
  TpreparingInstallWnd &window_;
  std::string caption_;
};

// Writes every event into the run log; it only listens, so it is always the
// second of an ObserverPair, which tells it the answers.
class LogObserver : public InstallObserver {
 public:
  explicit LogObserver(const RunLog &log) : log_(log) {}
  void installStarted() override { log_.write("install started"); }
  void installEnded(int32_t status, bool aborted) override;
  void status(const std::string &text) override { log_.write(text); }
  void progress() override {}
  bool ask(Question question, const std::string &text) override;
  void answered(Question question, bool answer) override;
  void failed(const Failure &failure) override;
  // Paths and registry values are in the system code page, the log's
  // lines in UTF-8 like the texts around them.
  // Once for each member: nothing is converted for a run without a log.
  void placed(const std::string &path, uint64_t size) override {
    if (log_.isOpen()) log_.write(placedText(utf8FromAnsi(path), size));
  }
  void valueWritten(const std::string &key, const std::string &name, const std::string &data) override {
    if (log_.isOpen())
      log_.write(valueWrittenText(utf8FromAnsi(key), utf8FromAnsi(name), utf8FromAnsi(data)));
  }
  void pause() override {}
  bool cancelled() const override { return false; }

 private:
  const RunLog &log_;
};

#endif
