// Queries about the running Windows: 64-bit or not, and which version.
// Implemented for Windows only (library saver_common_win32); the
// classification itself is in common/osClassification.h.
#ifndef SAVER_COMMON_QRX_OS_UTILS_H
#define SAVER_COMMON_QRX_OS_UTILS_H

#include <cstdint>

#include "common/osClassification.h"

// True when this 32-bit process runs on 64-bit Windows; false also when the
// system cannot tell.
bool isRunningUnderWow64();

// True when this process runs with an administrator's full rights that the
// user's own programs lack; false where the system makes no such difference
// (before Vista) or cannot tell.
bool isProcessElevated();

// True when this process could have more rights by asking for them: it runs
// with the limited rights of a system that knows elevation (Vista on).
bool mayBeElevated();

// One of the OS_* codes of common/osClassification.h; OS_64BIT_WINDOWS is
// decided before any version check.
int32_t GetOperatingSystem();

// The Windows family of the running system; all false for unlisted ones.
WindowsVersionFlags getWindowsVersionFlags();

#endif
