#include "installer/installerCommandLine.h"

#include "common/launcherProtocol.h"

int countQuietSwitches(const std::vector<std::string> &parameters) {
  int count = 0;
  for (const std::string &parameter : parameters)
    if (isQuietSwitch(parameter)) ++count;
  return count;
}
