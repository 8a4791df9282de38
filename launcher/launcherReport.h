// The launcher's one voice for what fails: each failure goes into the run
// log, and into its box unless the run is silent ("/qn").
#ifndef SAVER_LAUNCHER_LAUNCHER_REPORT_H
#define SAVER_LAUNCHER_LAUNCHER_REPORT_H

#include <cstdint>
#include <string>

// The error box with text; status and subject (a path, or "") for the log.
void reportLauncherError(int32_t status, const std::string &subject, const std::string &text);

// The box of ReportInstallError for a file or package failure.
void reportLauncherInstallError(int32_t code, const std::string &file);

#endif
