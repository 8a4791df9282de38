// The installer's install steps, read top to bottom: from closing an open
// display control panel to the uninstall entry, the clean-up after a
// failure, and the offer to open the screen saver control panel. They work
// on the run's package and plan and tell everything to one observer; the
// windows start them and show what they are told.
#ifndef SAVER_INSTALLER_INSTALL_SEQUENCE_H
#define SAVER_INSTALLER_INSTALL_SEQUENCE_H

#include <windows.h>

#include "installer/installPlan.h"
#include "package/installObserver.h"
#include "package/package.h"

#include <cstdint>

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
