// The installer learns the launcher's window from its own command line.
#ifndef SAVER_INSTALLER_LAUNCHER_HANDLE_PARAMETER_H
#define SAVER_INSTALLER_LAUNCHER_HANDLE_PARAMETER_H

#include <cstdint>
#include <string>
#include <vector>

// The first parameter that begins with "/l=" (case-sensitive) is taken: every
// "/l=" in it is removed in any letter case and the rest read as a decimal
// window handle. Later parameters are not looked at. 0 when no parameter
// begins with "/l=" or the rest is no decimal number of 32 bits.
uint32_t launcherHandleFromParameters(const std::vector<std::string> &parameters);

#endif
