// TInstallerForm: the installer's main window. It holds the state of its
// sequence and its components; the run's header, paths and data-file tables
// are in one record (package/installerRun.h). It runs the start-up in its
// creation (installerStartup.cpp), carries out the installation
// (installDriver.cpp) and shows picture or movie, licence, status line,
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
#include "installer/installerPhases.h"

class TInstallerForm {
 public:
  TInstallerForm(HINSTANCE instance, TpreparingInstallWnd &preparingWindow);
  ~TInstallerForm();
  TInstallerForm(const TInstallerForm &) = delete;
  TInstallerForm &operator=(const TInstallerForm &) = delete;

  // Creates the window, whose creation runs the whole start-up. Afterwards
  // the window is either shown and waits for the user, or closed with the
  // application told to end.
  void create();
  // The process exit code: the status of a quiet installation, else 0.
  int exitCode() const { return exitCode_; }

  // Operations of the install driver; the first three do nothing when
  // installerType is QUIET_TYPE.
  void showStatus(const std::string &text);
  void stepProgress();
  void layoutInstallerForm();
  void pauseBriefly();
  void setTitleFromSaverName(const std::string &displayName);

 private:
  // Start-up (installerStartup.cpp).
  void FormCreate();
  void initializeInstaller();
  static int32_t readPackage();
  void showReadyWindow();
  // Ends what the start-up leaves until the window shows, or until the
  // program ends without one.
  static void finishStartup();
  void resetState();
  void readCommandLine();
  int32_t decideFlashPlayer();
  int32_t prepareLicenseMode();
  int32_t showPictureOrMovie();
  void showPicture();
  void endStartup(int32_t status);

  // Installation (installDriver.cpp).
  int32_t runInstallation();
  int32_t extractInstallFiles(const std::string &packagePath);
  void installBtnClick();
  void cancelBtnClick();
  void setupInstallerFormForInstallation();
  void setupFormForInstallationComplete(int32_t status);
  static void cleanupFailedInstallation();
  void resetAfterAbort();
  void askToOpenControlPanel();
  int32_t installInPreparingWindow();
  void runQuietInstallation();
  bool stepsGoOn(int32_t status) const;

  // Window (installerForm.cpp).
  void createComponents();
  void placeComponents();
  void createLicenseBoxOnce();
  int installButtonWidth() const;
  int scaled(int designPixels) const;
  void onDpiChanged(int dpi, const RECT &suggested);
  void applyPhase(InstallerPhase phase);
  void placeButtons();
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
  void onCommand(HWND control);
  void onMinMaxInfo(MINMAXINFO *limits) const;
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Closing, the session's end and the window's end; false for other messages.
  bool onEndingMessage(HWND window, UINT message, WPARAM wParam, LRESULT &result);
  static LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK pictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // The sequence's state.
  uint8_t installerType = 0;  // header byte 0, or QUIET_TYPE by "/q"
  bool licenseShown = false;
  bool installing = false;
  bool abortRequested = false;
  bool installedDuringStartup = false;
  // The launcher was told to make the new saver the active one: from then
  // on a "Cancel" comes too late to undo the installation.
  bool saverMadeActive = false;
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
  int minimumHeight_ = 0;
};

#endif
