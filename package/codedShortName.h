// The coded short name of a screen saver: the name its program, its saver
// folder and its uninstall command go by (the rule is codedShortNameFor in
// package/installNames.h; the lower case comes from the system's code page).
#ifndef SAVER_PACKAGE_CODED_SHORT_NAME_H
#define SAVER_PACKAGE_CODED_SHORT_NAME_H

#include <string>

std::string getCodedShortFilenameForScreensaver(const std::string &name);

#endif
