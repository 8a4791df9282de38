#include "package/saverTitles.h"

#include "installer/installerText.h"
#include "package/placementRules.h"

std::string InstallerTitleFor(const std::string &name) {
  return InstallerTitleFor(name, installerText(IDS_INSTALL), installerText(IDS_SCREEN_SAVER));
}

std::string UninstallDisplayNameFor(const std::string &name) {
  return UninstallDisplayNameFor(name, installerText(IDS_SCREEN_SAVER));
}
