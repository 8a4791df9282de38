// How the launcher starts the installer copy: its parameters, its show mode
// and the trace lines of the decision.
#ifndef SAVER_LAUNCHER_INSTALLER_LAUNCH_PLAN_H
#define SAVER_LAUNCHER_INSTALLER_LAUNCH_PLAN_H

#include <cstdint>
#include <string>
#include <vector>

struct InstallerLaunchPlan {
  std::string parameters;  // "/l=<handle>", with "/q " in front when quiet
  bool minimised;          // started minimised in quiet mode
  std::vector<std::string> traceLines;
};

// launcherParameters are the launcher's own parameters 1 to N. They are
// scanned up to the first "/q" in any letter case; none is passed on.
InstallerLaunchPlan planInstallerLaunch(uint32_t windowHandle,
                                        const std::vector<std::string> &launcherParameters);

#endif
