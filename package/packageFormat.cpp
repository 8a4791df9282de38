#include "package/packageFormat.h"

#include "common/statusCodes.h"

#include <cstring>

int32_t parseInstallerHeader(const uint8_t *bytes, size_t count, InstallerHeader &header) {
  if (count < sizeof(InstallerHeader)) return STATUS_SHORT_HEADER;
  std::memcpy(&header, bytes, sizeof(InstallerHeader));
  if (header.carriesFlashInstaller != 0 &&
      header.flashInstallerVersionIndex >= FLASH_INSTALLER_VERSION_COUNT)
    return STATUS_INVALID_HEADER;
  return STATUS_OK;
}

std::string saverNameOf(const InstallerHeader &header) {
  const char *name = header.saverName;
  return std::string(name, strnlen(name, sizeof(header.saverName)));
}

bool entryPresent(const PackageEntry &entry) { return entry.nameLength != 0; }

std::string entryNameOf(const PackageEntry &entry) {
  return std::string(entry.name, entry.nameLength);
}

void setEntryName(PackageEntry &entry, const std::string &name) {
  const size_t length = name.size() < sizeof(entry.name) ? name.size() : sizeof(entry.name);
  std::memset(entry.name, 0, sizeof(entry.name));
  std::memcpy(entry.name, name.data(), length);
  entry.nameLength = static_cast<uint8_t>(length);
}

int32_t entryStoredLength(const PackageEntry &entry, int64_t fileSize, uint32_t &length) {
  const int64_t start = entry.start;
  const int64_t stored = static_cast<int64_t>(entry.end) - start + 1;
  if (start < 0 || stored < 0 || start + stored > fileSize) return STATUS_SHORT_ENTRY;
  length = static_cast<uint32_t>(stored);
  return STATUS_OK;
}
