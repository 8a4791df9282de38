// The installer's string table (stringTable.rc), read from the running
// program with programText, and the saver's titles in its words ("Install",
// "Screen Saver").
#ifndef SAVER_INSTALLER_STRING_TABLE_H
#define SAVER_INSTALLER_STRING_TABLE_H

#include "common/programTexts.h"
#include "installer/stringTableIds.h"

#include <string>

// The installer's window title and the saver's uninstall name (the rules are
// in installer/placementRules.h).
std::string InstallerTitleFor(const std::string &name);
std::string UninstallDisplayNameFor(const std::string &name);

#endif
