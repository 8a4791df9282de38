// A saver's version as makers write it, "major.minor[.build[.revision]]",
// each part 0..65535, and its order: 2.1 and 2.1.0.0 are the same version.
// The package states it (the manifest's "version"); the uninstall entry
// shows it, and the next install compares its own with it. Portable.
#ifndef SAVER_PACKAGE_PACKAGE_VERSION_H
#define SAVER_PACKAGE_PACKAGE_VERSION_H

#include <array>
#include <cstdint>
#include <string>

struct PackageVersion {
  std::array<uint16_t, 4> parts = {};  // the parts left out are 0
};

// False for anything but two to four parts of decimal digits, each at most
// 65535, apart by single dots: no sign, space or empty part.
bool parseVersion(const std::string &text, PackageVersion &version);

// Negative, 0 or positive as a is older than, the same as or newer than b.
int compareVersions(const PackageVersion &a, const PackageVersion &b);

#endif
