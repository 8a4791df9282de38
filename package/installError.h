// The one error box for file and package failures, shared by the installer
// and the launcher (whose dialogs are German).
#ifndef SAVER_PACKAGE_INSTALL_ERROR_H
#define SAVER_PACKAGE_INSTALL_ERROR_H

#include <cstdint>
#include <string>

// Shows installErrorText(code, fileText) in an error box with one "&Abort".
void ReportInstallError(int32_t code, const std::string &fileText);

#endif
