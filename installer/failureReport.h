// The installer's voice for the package operations: it shows, in order, the
// boxes for what they had to tell.
#ifndef SAVER_INSTALLER_FAILURE_REPORT_H
#define SAVER_INSTALLER_FAILURE_REPORT_H

#include "package/packageFailure.h"

#include <cstdint>

// Shows each failure's box (installerTexts.h), empties the list and
// returns status: status = told(operation(..., failures), failures).
int32_t told(int32_t status, Failures &failures);

// Runs operation on an empty list and tells what it told: its status.
int32_t runTelling(int32_t (*operation)(Failures &failures));

#endif
