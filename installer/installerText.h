// Texts of the installer's string table, read from the running program.
#ifndef SAVER_INSTALLER_INSTALLER_TEXT_H
#define SAVER_INSTALLER_INSTALLER_TEXT_H

#include "installer/installerStrings.h"

#include <string>

// The text with identifier id (IDS_...); "" when the program has none.
std::string installerText(unsigned id);

#endif
