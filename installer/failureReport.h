// The installer's voice for the package operations: it shows, in order, the
// boxes for what they had to tell.
#ifndef SAVER_INSTALLER_FAILURE_REPORT_H
#define SAVER_INSTALLER_FAILURE_REPORT_H

#include "package/packageFailure.h"

#include <cstdint>

// Shows each failure's box (installerMessages.h) and empties the list.
void tellFailures(Failures &failures);

// Runs operation(failures) on an empty list, shows what it told and returns
// its status.
template <typename Operation>
int32_t runTelling(Operation operation) {
  Failures failures;
  const int32_t status = operation(failures);
  tellFailures(failures);
  return status;
}

#endif
