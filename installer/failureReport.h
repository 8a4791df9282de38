// The box for each failure a step tells, as the installer's windows and its
// quiet mode show them.
#ifndef SAVER_INSTALLER_FAILURE_REPORT_H
#define SAVER_INSTALLER_FAILURE_REPORT_H

#include "package/packageFailure.h"

// Shows the failure's box and waits for its answer.
void showFailureBox(const Failure &failure);

#endif
