// The launcher's start-up: paths, the installer copy behind the launcher's
// own image, the start of that copy, and its removal at the end.
#ifndef SAVER_LAUNCHER_QRP_INSTALLER_UTILS_H
#define SAVER_LAUNCHER_QRP_INSTALLER_UTILS_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "launcher/saverCommands.h"

#include "launcher/launcherRun.h"

// Chooses the language, makes the work folder, writes the installer copy and
// starts it with "/l=" + the main window's handle. Every failure has shown its
// messages when this returns nonzero.
int32_t initInInstallerMode(HWND mainWindow);

// The launcher's own file and, in the work folder, its installer copy's.
void setInstallerCopyPaths(const std::string &launcherFile);

// Copies everything behind LAUNCHER_SIZE_IN_BYTES of the launcher file to
// the run's installerCopy; failures are reported with ReportInstallError.
int32_t extractInstallerToInstallerTempFile();

// Waits up to 30 s for the started installer to end, then up to 100 rounds
// of deleting the copy and removing its folder.
void removeInstallerCopy();

// The started installer's process while it is held, else nullptr: the
// launcher ends when it does, with or without its close message.
HANDLE runningInstaller();

// The launcher's exit code: the status of its own step that failed, else
// the exit code of its installer once it has ended, else 0.
int32_t launcherExitStatus();

#endif
