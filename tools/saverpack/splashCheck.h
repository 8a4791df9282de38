// The splash read as the installer will read it, before the package is
// written: a picture it cannot decode, or a movie its reader refuses, would
// otherwise be found only on the user's machine.
#ifndef SAVER_TOOLS_SAVERPACK_SPLASH_CHECK_H
#define SAVER_TOOLS_SAVERPACK_SPLASH_CHECK_H

#include "tools/saverpack/manifest.h"

#include <string>
#include <vector>

// True when the plan's splash (entry 3, for a picture or movie installer
// type) is one the installer shows; also when the type shows none. A movie
// the reader refuses in a package that has a poster to show instead is a
// warning, added to warnings, not a fault. Else false with a message naming
// the manifest key in error.
bool checkSplash(const BuildPlan &plan, bool hasPoster, std::vector<std::string> &warnings,
                 std::string &error);

#endif
