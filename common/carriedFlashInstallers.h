// The Flash Player installers a package can carry as entry 2: the version
// rows that the header's flashInstallerVersionIndex picks, and the installer
// names that the system knows. The package checks the index, the installer
// places and runs the file, and the packer writes both.
#ifndef SAVER_COMMON_CARRIED_FLASH_INSTALLERS_H
#define SAVER_COMMON_CARRIED_FLASH_INSTALLERS_H

#include <cstdint>
#include <string>

struct FlashInstallerVersion {
  int32_t major;
  int32_t revision;
};

// Indexed by the package header's flashInstallerVersionIndex.
constexpr int CARRIED_FLASH_INSTALLER_COUNT = 2;
constexpr FlashInstallerVersion CarriedFlashInstallerVersions[CARRIED_FLASH_INSTALLER_COUNT] = {
    {10, 12},
    {9, 124},
};

// The known installer names: they run silently with "/s" (others with "/Q"),
// and an entry of destKind DEST_SHARED_LIBRARY under one of them stays in the
// work folder instead of becoming a shared library.
inline bool isKnownFlashInstallerName(const std::string &name) {
  return name == "install_flash_player_active_x.exe" || name == "install_flash_player_10_active_x.exe";
}

#endif
