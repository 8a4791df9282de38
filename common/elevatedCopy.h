// The Windows side of common/elevationRule.h: the program's elevated copy.
// Whether it is needed asks mayBeElevated (common/QRX_OSUtils.h).
#ifndef SAVER_COMMON_ELEVATED_COPY_H
#define SAVER_COMMON_ELEVATED_COPY_H

#include <cstdint>
#include <string>

// Starts program (a full path) with the shell's "runas" verb and the
// parameters, waits for it and returns its exit code; the consent prompt
// refused or the program not started gives the system's error code
// (ERROR_CANCELLED for a refusal). silent: no box of the shell's own.
int32_t runElevatedCopy(const std::string &program, const std::string &parameters, bool silent);

#endif
