#include "installer/installerCommandLine.h"

static const char QUIET_SWITCH[] = "/q";

static bool isQuietSwitch(const std::string &parameter) {
  return parameter.size() == 2 && parameter[0] == QUIET_SWITCH[0] &&
         (parameter[1] == 'q' || parameter[1] == 'Q');
}

int countQuietSwitches(const std::vector<std::string> &parameters) {
  int count = 0;
  for (const std::string &parameter : parameters)
    if (isQuietSwitch(parameter)) ++count;
  return count;
}
