// Status codes of the package and data-file operations, and the texts of the
// messages composed from them. A status is 0 for success, one of these codes,
// or a positive operating-system error code.
#ifndef SAVER_PACKAGE_STATUS_H
#define SAVER_PACKAGE_STATUS_H

#include "common/statusCodes.h"

#include <cstdint>
#include <string>

// The text that ReportInstallError shows for a status and the file concerned.
std::string installErrorText(int32_t code, const std::string &fileText);

// Data-file messages; systemText is the operating system's text for a code.
std::string dataFileInUseText();
std::string dataFileOpenErrorText(const std::string &path, int32_t code);
std::string dataFileReadErrorText(const std::string &systemText);
std::string dataFileCloseErrorText(const std::string &systemText);

#endif
