#include "launcher/installerLaunchPlan.h"

#include "common/launcherProtocol.h"

static bool isQuietSwitch(const std::string &parameter) {
  return parameter.size() == 2 && parameter[0] == '/' && (parameter[1] == 'q' || parameter[1] == 'Q');
}

InstallerLaunchPlan planInstallerLaunch(uint32_t windowHandle,
                                        const std::vector<std::string> &launcherParameters) {
  InstallerLaunchPlan plan;
  plan.parameters = std::string(LAUNCHER_HANDLE_PARAMETER) + std::to_string(windowHandle);
  plan.minimised = false;
  for (const std::string &parameter : launcherParameters) {
    plan.traceLines.push_back("command line parameter: " + parameter);
    if (isQuietSwitch(parameter)) {
      plan.minimised = true;
      break;
    }
  }
  if (plan.minimised) {
    plan.traceLines.push_back("installerType = QUIET_TYPE, hiding preparingInstallWnd");
    plan.parameters = "/q " + plan.parameters;
  } else {
    plan.traceLines.push_back("subLaunchParams: " + plan.parameters);
  }
  return plan;
}
