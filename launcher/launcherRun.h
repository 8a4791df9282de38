// The state of a launcher run in one record: its own file, the installer
// copy it writes and starts, the control-panel titles in the system's
// language, the started installer, and how the run is told. The system
// paths, shared with the installer, are in common/QRX_FileUtils.h.
#ifndef SAVER_LAUNCHER_LAUNCHER_RUN_H
#define SAVER_LAUNCHER_LAUNCHER_RUN_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "common/runLog.h"
#include "launcher/saverCommands.h"

struct LauncherRun {
  std::string launcherFile;   // the running launcher
  std::string installerCopy;  // work folder + the launcher's own file name
  ControlPanelTitles controlPanelTitles;
  // The started copy, held so that the launcher ends with it and the
  // clean-up can wait for its end.
  HANDLE installerProcess = nullptr;
  // The launcher's own failed step, else the installer's exit code.
  int32_t exitStatus = 0;
  // "/qn": none of the launcher's boxes either; the log tells its failures.
  bool silent = false;
  RunLog log;
};

extern LauncherRun launcherRun;

#endif
