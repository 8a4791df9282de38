// What winget needs of a package beyond what every package has: a version,
// which its manifest and the uninstall entry state, and a publisher, which
// the list of installed programs shows. "saverpack winget" refuses a package
// without a version; "saverpack verify" tells of both, as a notice, since
// packages made before these keys lack them by design.
#ifndef SAVER_TOOLS_SAVERPACK_WINGET_NEEDS_H
#define SAVER_TOOLS_SAVERPACK_WINGET_NEEDS_H

#include "package/packageProperties.h"

#include <string>
#include <vector>

// One line for each of version and publisher the package does not state,
// version first; none when it states both.
std::vector<std::string> wingetShortcomings(const PackageProperties &properties);

#endif
