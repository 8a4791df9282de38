#include "package/uninstallMark.h"

#include <cstring>

static_assert(PUBLISHER_OFFSET + PUBLISHER_FIELD <= INTEGRITY_RECORD_OFFSET + PACKAGE_ENTRY_NAME_MAX,
              "the uninstall bytes lie in entry 0's name field");

static const uint8_t *headerBytes(const InstallerHeader &header) {
  return reinterpret_cast<const uint8_t *>(&header);
}

static bool hasRecord(const InstallerHeader &header) {
  IntegrityRecord record;
  return readIntegrityRecord(header, record);
}

uint8_t uninstallMarkOf(const InstallerHeader &header) {
  return headerBytes(header)[UNINSTALL_MARK_OFFSET];
}

void setUninstallMark(InstallerHeader &header, uint8_t mark) {
  reinterpret_cast<uint8_t *>(&header)[UNINSTALL_MARK_OFFSET] = mark;
}

bool carriesUninstaller(const InstallerHeader &header) {
  return hasRecord(header) && uninstallMarkOf(header) == UNINSTALLER_CARRIED;
}

std::string publisherOf(const InstallerHeader &header) {
  if (!hasRecord(header)) return std::string();
  const char *field = reinterpret_cast<const char *>(headerBytes(header) + PUBLISHER_OFFSET);
  return std::string(field, strnlen(field, PUBLISHER_FIELD));
}

void setPublisher(InstallerHeader &header, const std::string &publisher) {
  uint8_t *field = reinterpret_cast<uint8_t *>(&header) + PUBLISHER_OFFSET;
  std::memset(field, 0, PUBLISHER_FIELD);
  // A publisher of the field's full length has no zero byte: readers stop at the field's end.
  // NOLINTNEXTLINE(bugprone-not-null-terminated-result)
  std::memcpy(field, publisher.data(),
              publisher.size() < PUBLISHER_FIELD ? publisher.size() : PUBLISHER_FIELD);
}
