// The saver's window title and uninstall name in the words of the installer's
// string table ("Install", "Screen Saver").
#ifndef SAVER_PACKAGE_SAVER_TITLES_H
#define SAVER_PACKAGE_SAVER_TITLES_H

#include <string>

std::string InstallerTitleFor(const std::string &name);
std::string UninstallDisplayNameFor(const std::string &name);

#endif
