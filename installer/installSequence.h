// The installer's sequence, read top to bottom: the start-up, from the
// package opened for the run to one of its four ends (the window waits for
// "Install", a quiet install, an install in the preparing window, or a
// message and the end of the program), and the install steps, from closing
// an open display control panel to the uninstall entry, the clean-up after
// a failure and the offer to open the screen saver control panel. They work
// on the run's package and plan and tell everything to one observer; the
// windows start them and show what they are told.
#ifndef SAVER_INSTALLER_INSTALL_SEQUENCE_H
#define SAVER_INSTALLER_INSTALL_SEQUENCE_H

#include <windows.h>

#include "installer/installLock.h"
#include "installer/installPlan.h"
#include "package/installObserver.h"
#include "package/package.h"

#include <cstdint>
#include <string>
#include <vector>

// The run: its package, opened once, and the plan that follows from it.
struct InstallRun {
  Package package;
  InstallPlan plan;
  bool packageLinked = false;  // the package is a hard link to the installer file
  InstallLock lock;            // held from the plan to the program's end
};

// What the start-up shows in the window it runs in.
class StartupView {
 public:
  virtual ~StartupView() = default;
  // The main window, which the launcher's commands name as their sender.
  virtual HWND window() const = 0;
  // The package was read: the preparing window comes on the screen while the
  // start-up goes on, or stays out of sight in quiet mode.
  virtual void startupGoesOn(bool quiet) = 0;
  virtual void showTitle(const std::string &title) = 0;
  // Licence mode: the licence box with the text of licenseFile, or the
  // window without one when licenseFile is "".
  virtual void showLicense(const std::string &licenseFile) = 0;
  // False when the picture cannot be loaded, or the movie is not played.
  virtual bool showPicture(const std::string &file) = 0;
  virtual bool playMovie(const std::string &file) = 0;
  // The main window laid out and centred, in place of the preparing window.
  virtual void showReady() = 0;
  // Whom an install tells: the main window, the preparing window, or quiet
  // mode (silent with "/qn"), which also hears the start-up before the
  // command line is read; each with the run log beside it.
  virtual InstallObserver &windowObserver() = 0;
  virtual InstallObserver &preparingObserver() = 0;
  virtual InstallObserver &quietObserver() = 0;
  // A step of the start-up, for the run log only.
  virtual void logStep(const std::string &step) = 0;
};

struct StartupOutcome {
  int32_t exitCode = 0;  // the failed start-up's status, or a quiet install's
  // The window waits for "Install"; otherwise the program ends.
  bool waitsForInstall = false;
};

// The start-up, with the installer program's own length (where its package
// starts) and its command line's switches.
StartupOutcome runStartup(InstallRun &run, StartupView &view, uint32_t programSize,
                          const InstallerSwitches &switches);

struct InstallOutcome {
  int32_t status = 0;
  // "Cancel", or "Cancel" at the overwrite question, stopped the install
  // before the launcher made the new saver the active one.
  bool aborted = false;
};

// ownWindow is the installer's main window, which the launcher's commands
// name as their sender.
InstallOutcome runInstallation(Package &package, const InstallPlan &plan, InstallObserver &observer,
                               HWND ownWindow);

// After a successful install, the question whether to open the screen saver
// control panel, when the package offers it; "Yes" asks the launcher to.
void offerControlPanel(const InstallerHeader &header, InstallObserver &observer, HWND ownWindow);

#endif
