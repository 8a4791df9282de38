// Status codes of the shared file routines. A status is a signed 32-bit
// value: 0 is success, negative values are the system's own codes, positive
// values are Windows error codes passed through.
#ifndef SAVER_COMMON_FILE_STATUS_H
#define SAVER_COMMON_FILE_STATUS_H

#include <cstdint>

constexpr int32_t STATUS_OK = 0;
// A folder stayed in place, an empty folder name was given, or nothing was tried.
constexpr int32_t STATUS_NOT_DONE = -1;
// A file stayed in place after the deletion attempts.
constexpr int32_t STATUS_FILE_BUSY = -32;
// The same for a screen saver program (".scr").
constexpr int32_t STATUS_SCREEN_SAVER_BUSY = -38;

// Windows error codes that the shared routines report themselves. Their
// values are fixed by the system; the Windows layer checks them against
// its headers.
constexpr int32_t SYSTEM_ERROR_PATH_NOT_FOUND = 3;      // ERROR_PATH_NOT_FOUND
constexpr int32_t SYSTEM_ERROR_ALREADY_EXISTS = 183;    // ERROR_ALREADY_EXISTS
constexpr int32_t SYSTEM_ERROR_ENVVAR_NOT_FOUND = 203;  // ERROR_ENVVAR_NOT_FOUND

#endif
