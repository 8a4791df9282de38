#include "installer/installerCommandLine.h"

#include "common/launcherProtocol.h"
#include "common/textLanguage.h"
#include "installer/launcherHandleParameter.h"

InstallerSwitches readInstallerSwitches(const std::vector<std::string> &parameters) {
  InstallerSwitches switches;
  for (const std::string &parameter : parameters) {
    const bool silent = isSwitch(parameter, SILENT_SWITCH);
    if (silent || isQuietSwitch(parameter)) ++switches.quietSwitches;
    switches.silent = switches.silent || silent;
    switches.force = switches.force || isSwitch(parameter, FORCE_SWITCH);
    logSwitchPath(parameter, switches.logPath);
    languageSwitchCode(parameter, switches.languageCode);
  }
  switches.launcherWindow = launcherHandleFromParameters(parameters);
  return switches;
}
