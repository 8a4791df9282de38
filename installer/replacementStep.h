// The install's first step on an installed copy of its saver: the version
// its uninstall entry shows against the package's (installer/replacementRule.h).
// A downgrade is refused, an upgrade asked, and the installed version of an
// upgrade or a repair kept aside until the new one is in place.
#ifndef SAVER_INSTALLER_REPLACEMENT_STEP_H
#define SAVER_INSTALLER_REPLACEMENT_STEP_H

#include "installer/installPlan.h"
#include "installer/keptVersion.h"
#include "package/installObserver.h"

#include <cstdint>

// 0 to go on (kept.replacing() when the installed version was moved aside),
// STATUS_USER_ABORT when the question was declined and
// STATUS_DOWNGRADE_REFUSED (told) for a refused downgrade, both with nothing
// changed, or the failure (told) of moving the installed version aside;
// kept.end() puts back what was moved.
int32_t replaceInstalledVersion(const InstallPlan &plan, InstallObserver &observer, KeptVersion &kept);

#endif
