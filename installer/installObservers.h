// Two of the ways an install is told: quiet mode, which shows only the
// boxes of what failed, and the small preparing window, which tells the
// install's start and end in its one line. The main window is the third
// (TInstallerForm).
#ifndef SAVER_INSTALLER_INSTALL_OBSERVERS_H
#define SAVER_INSTALLER_INSTALL_OBSERVERS_H

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

#endif
