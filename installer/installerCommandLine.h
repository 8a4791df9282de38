// The installer's command line: "/q" for a quiet installation and "/l=" with
// the launcher's window (read by launcherHandleFromParameters). Portable.
#ifndef SAVER_INSTALLER_INSTALLER_COMMAND_LINE_H
#define SAVER_INSTALLER_INSTALLER_COMMAND_LINE_H

#include <string>
#include <vector>

// How many parameters (the program itself not among them) are "/q" in any
// letter case; each one is told to the launcher.
int countQuietSwitches(const std::vector<std::string> &parameters);

// Whether a parameter is "/force" in any letter case.
bool hasForceSwitch(const std::vector<std::string> &parameters);

#endif
