#include "installer/stringTable.h"

#include "installer/placementRules.h"

#include <windows.h>

std::string installerText(unsigned id) {
  char text[1024];
  const int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

std::string InstallerTitleFor(const std::string &name) {
  return InstallerTitleFor(name, installerText(IDS_INSTALL), installerText(IDS_SCREEN_SAVER));
}

std::string UninstallDisplayNameFor(const std::string &name) {
  return UninstallDisplayNameFor(name, installerText(IDS_SCREEN_SAVER));
}
