// The installer's command line: "/q" for a quiet installation, "/qn" for one
// that shows nothing at all, "/force", "/log=" with the run log's path, "/lang=" with a language, and
// "/l=" with the launcher's window. Read once, at the start; portable.
#ifndef SAVER_INSTALLER_INSTALLER_COMMAND_LINE_H
#define SAVER_INSTALLER_INSTALLER_COMMAND_LINE_H

#include <cstdint>
#include <string>
#include <vector>

struct InstallerSwitches {
  // "/q" and "/qn" in any letter case; each one is told to the launcher.
  int quietSwitches = 0;
  bool silent = false;          // "/qn": no window, no box, no question, no read-me
  bool force = false;           // "/force": an older version replaces a newer one
  std::string logPath;          // behind the last "/log=", "" without one
  std::string languageCode;     // behind the last "/lang=", "" without one
  uint32_t launcherWindow = 0;  // "/l=" (launcherHandleFromParameters), 0 without one
};

// From the parameters, the program itself not among them; any other
// parameter is ignored.
InstallerSwitches readInstallerSwitches(const std::vector<std::string> &parameters);

#endif
