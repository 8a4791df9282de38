// Texts of the installer's string table, read from the running program, and
// the saver's titles in its words ("Install", "Screen Saver").
#ifndef SAVER_INSTALLER_STRING_TABLE_H
#define SAVER_INSTALLER_STRING_TABLE_H

#include "installer/stringTableIds.h"

#include <string>

// The text with identifier id (IDS_...); "" when the program has none.
std::string installerText(unsigned id);

// The installer's window title and the saver's uninstall name (the rules are
// in installer/placementRules.h).
std::string InstallerTitleFor(const std::string &name);
std::string UninstallDisplayNameFor(const std::string &name);

#endif
