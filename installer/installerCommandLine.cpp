#include "installer/installerCommandLine.h"

#include "common/launcherProtocol.h"

int countQuietSwitches(const std::vector<std::string> &parameters) {
  int count = 0;
  for (const std::string &parameter : parameters)
    if (isQuietSwitch(parameter)) ++count;
  return count;
}

bool hasForceSwitch(const std::vector<std::string> &parameters) {
  for (const std::string &parameter : parameters)
    if (isSwitch(parameter, FORCE_SWITCH)) return true;
  return false;
}
