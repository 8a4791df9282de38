#include "installer/stringTable.h"

#include "installer/placementRules.h"

std::string InstallerTitleFor(const std::string &name) {
  return InstallerTitleFor(name, programText(IDS_INSTALL), programText(IDS_SCREEN_SAVER));
}

std::string UninstallDisplayNameFor(const std::string &name) {
  return UninstallDisplayNameFor(name, programText(IDS_SCREEN_SAVER));
}
