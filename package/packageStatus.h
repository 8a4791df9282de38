// Status codes of the package and data-file operations, and the texts of the
// messages composed from them. A status is 0 for success, one of these codes,
// or a positive operating-system error code.
#ifndef SAVER_PACKAGE_STATUS_H
#define SAVER_PACKAGE_STATUS_H

#include "common/fileStatus.h"

#include <cstdint>
#include <string>

// STATUS_OK, STATUS_NOT_DONE (-1), STATUS_FILE_BUSY (-32) and
// STATUS_SCREEN_SAVER_BUSY (-38) come from the shared file routines.
const int32_t SYSTEM_ERROR_ACCESS_DENIED = 5;  // the operating system's code
const int32_t STATUS_OUT_OF_MEMORY = -7;
const int32_t STATUS_MEMBER_INDEX_TOO_HIGH = -12;
const int32_t STATUS_EXPANDED_SIZE_MISMATCH = -13;
const int32_t STATUS_TOO_MANY_MEMBERS = -14;
const int32_t STATUS_DATA_FILE_NOT_OPEN = -15;
const int32_t STATUS_EXPANDED_FILE_MISSING = -16;
const int32_t STATUS_SHORT_ENTRY = -30;
const int32_t STATUS_SHORT_HEADER = -31;
const int32_t STATUS_INVALID_HEADER = -33;
const int32_t STATUS_UNSAFE_NAME = -34;
const int32_t STATUS_CODEC_NOT_LOADED = -35;
const int32_t STATUS_PACKAGE_COPY_FAILED = -523;
const int32_t STATUS_ENTRY_ABSENT = -531;
const int32_t STATUS_MOVIE_COPY_FAILED = -532;

// The text that ReportInstallError shows for a status and the file concerned.
std::string installErrorText(int32_t code, const std::string &fileText);

// Data-file messages; systemText is the operating system's text for a code.
std::string dataFileInUseText();
std::string dataFileOpenErrorText(const std::string &path, int32_t code);
std::string dataFileReadErrorText(const std::string &systemText);
std::string dataFileCloseErrorText(const std::string &systemText);

#endif
