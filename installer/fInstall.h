// TInstallerForm: the installer's main window. It owns the run's package and
// plan, starts the start-up in its creation and the install on "Install"
// (both in installSequence.h), shows what the start-up asks for
// (installerStartup.cpp), listens to the install as its observer
// (installDriver.cpp), and shows picture or movie, licence, status line,
// progress bar and buttons (installerForm.cpp).
#ifndef SAVER_INSTALLER_F_INSTALL_H
#define SAVER_INSTALLER_F_INSTALL_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "common/displayScale.h"
#include "flash/FlashPanel.h"
#include "installer/fPreparingInstallWnd.h"
#include "installer/installerApplication.h"
#include "common/runLog.h"
#include "installer/installObservers.h"
#include "installer/installSequence.h"
#include "installer/installerPhases.h"
#include "package/installObserver.h"

class TInstallerForm : public InstallObserver, public StartupView {
 public:
  // programSize: the installer program's own length, where its package
  // starts; log hears the whole run beside the window; switches.silent
  // ("/qn") puts nothing on the screen, not even a failure's box.
  TInstallerForm(HINSTANCE instance, TpreparingInstallWnd &preparingWindow, uint32_t programSize,
                 const RunLog &log, const InstallerSwitches &switches);
  ~TInstallerForm() override;
  TInstallerForm(const TInstallerForm &) = delete;
  TInstallerForm &operator=(const TInstallerForm &) = delete;

  // Creates the window, whose creation runs the whole start-up. Afterwards
  // the window is either shown and waits for the user, or closed with the
  // application told to end.
  void create();
  // The process exit code: the status of a quiet installation, else 0.
  int exitCode() const { return exitCode_; }

  // The main window as the install's observer (installDriver.cpp).
  void installStarted() override;
  void installEnded(int32_t status, bool aborted) override;
  void status(const std::string &text) override;
  void progress() override;
  bool ask(Question question, const std::string &text) override;
  void failed(const Failure &failure) override;
  // Between the blocks of a long copy: the clicks so far, without waiting.
  void pause() override { processPendingMessages(); }
  bool cancelled() const override { return abortRequested; }

  // What the start-up shows (installerStartup.cpp).
  HWND window() const override { return window_; }
  void startupGoesOn(bool quiet) override;
  void showTitle(const std::string &title) override;
  void showLicense(const std::string &licenseFile) override;
  bool showPicture(const std::string &file) override;
  bool playMovie(const std::string &file) override;
  void showReady() override;
  InstallObserver &windowObserver() override { return windowAndLog_; }
  InstallObserver &preparingObserver() override;
  InstallObserver &quietObserver() override { return quietAndLog_; }
  void logStep(const std::string &step) override { log_.status(step); }

 private:
  // Start-up (installerStartup.cpp).
  void FormCreate();
  // Ends what the start-up leaves until the window shows, or until the
  // program ends without one.
  static void finishStartup();
  void resetState();

  // Installation (installDriver.cpp).
  void installBtnClick();
  void cancelBtnClick();
  void setupFormForInstallationComplete(int32_t status);
  void resetAfterAbort();
  std::string caption() const;
  void pauseBriefly();

  // Window (installerForm.cpp).
  void createComponents();
  void placeComponents();
  void createLicenseBoxOnce();
  int installButtonWidth() const;
  int scaled(int designPixels) const;
  void onDpiChanged(int dpi, const RECT &suggested);
  void applyPhase(InstallerPhase phase);
  void placeButtons();
  SIZE fittedFrameSize() const;
  void fitClientHeight();
  void setSizeable(bool sizeable);
  void FormResize();
  void FormShow();
  // No close cuts the start-up or an installation short.
  bool FormCloseQuery() const { return !installing && !applicationBusy(); }
  void FormClose();
  void closeAndEnd();
  // The main window, or the preparing window while the main one is hidden.
  void bringToFront() const;
  void doneBtnClick() { closeAndEnd(); }
  void pauseTimerTimer();
  void repaint();
  void setProgress(int position);
  void onCommand(int id);
  void onActivate(bool active);
  LRESULT defaultButton() const;
  void onMinMaxInfo(MINMAXINFO *limits) const;
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The buttons, clicked or by their keys, and the focus; false for other messages.
  bool onControlMessage(UINT message, WPARAM wParam, LRESULT &result);
  // Closing, the session's end and the window's end; false for other messages.
  bool onEndingMessage(HWND window, UINT message, WPARAM wParam, LRESULT &result);
  static LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK pictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // The run: its package, opened once, and its plan.
  InstallRun run_;
  uint32_t programSize_;
  InstallerSwitches switches_;
  // Whom the run tells, each with the log beside it.
  LogObserver log_;
  QuietObserver quiet_;
  SilentObserver silent_;
  ObserverPair quietAndLog_;  // silent_ when silent, else quiet_
  ObserverPair windowAndLog_;
  std::unique_ptr<PreparingObserver> preparingObserver_;
  std::unique_ptr<ObserverPair> preparingAndLog_;

  // The sequence's state.
  uint8_t installerType = 0;  // header byte 0, or QUIET_TYPE by "/q"
  bool licenseShown = false;
  bool installing = false;
  bool abortRequested = false;
  bool endsAfterStartup = false;
  bool pauseTimerEnabled = false;
  int exitCode_ = 0;
  bool closed_ = false;  // FormClose has run

  // Components, with the values of installerLayout.h scaled to dpi_, the
  // DPI of the window's monitor.
  HINSTANCE instance_;
  int dpi_ = DESIGN_DPI;
  HFONT font_ = nullptr;
  TpreparingInstallWnd &preparingWindow_;
  HWND window_ = nullptr;
  HWND contentPanel = nullptr;
  HWND bmpPanel = nullptr;
  std::unique_ptr<TFlashPanel> moviePanel1;
  HWND licenseScrollBox = nullptr;
  HWND buttonPanel = nullptr;
  HWND labCopying = nullptr;
  HWND progressBar = nullptr;
  HWND installBtn = nullptr;
  HWND doneBtn = nullptr;
  HWND cancelBtn = nullptr;
  HBITMAP picture_ = nullptr;
  HWND focused_ = nullptr;  // the control that had the focus when another window became active
  int minimumHeight_ = 0;
};

#endif
