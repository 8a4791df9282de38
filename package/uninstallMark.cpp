#include "package/uninstallMark.h"

#include "package/packageProperties.h"

static_assert(PUBLISHER_OFFSET + PUBLISHER_FIELD <= INTEGRITY_RECORD_OFFSET + PACKAGE_ENTRY_NAME_MAX,
              "the uninstall bytes lie in entry 0's name field");

bool carriesUninstaller(const InstallerHeader &header) {
  return headerProperties(header).uninstallMark == UNINSTALLER_CARRIED;
}

void setUninstallMark(InstallerHeader &header, uint8_t mark) {
  reinterpret_cast<uint8_t *>(&header)[UNINSTALL_MARK_OFFSET] = mark;
}

std::string publisherOf(const InstallerHeader &header) { return headerProperties(header).publisher; }
