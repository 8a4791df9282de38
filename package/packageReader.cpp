#include "package/packageReader.h"

#include "package/packageFormat.h"
#include "common/statusCodes.h"

#include <new>

int32_t readExactly(ByteSource &source, int64_t offset, void *buffer, uint32_t count) {
  uint32_t got = 0;
  const int32_t status = source.readAt(offset, buffer, count, got);
  if (status != STATUS_OK) return status;
  return got == count ? STATUS_OK : STATUS_SHORT_ENTRY;
}

int32_t allocateBuffer(std::vector<uint8_t> &bytes, uint32_t count) {
  try {
    bytes.resize(count);
  } catch (const std::bad_alloc &) {
    return STATUS_OUT_OF_MEMORY;
  }
  return STATUS_OK;
}

int32_t readInstallerHeader(ByteSource &source, int64_t offset, InstallerHeader &header) {
  uint8_t bytes[sizeof(InstallerHeader)];
  uint32_t got = 0;
  const int32_t status = source.readAt(offset, bytes, sizeof(bytes), got);
  if (status != STATUS_OK) return status;
  return parseInstallerHeader(bytes, got, header);
}

int32_t readEntryBytes(ByteSource &source, const PackageEntry &entry, std::vector<uint8_t> &bytes) {
  uint32_t length = 0;
  int32_t status = entryStoredLength(entry, source.size(), length);
  if (status == STATUS_OK) status = allocateBuffer(bytes, length);
  if (status == STATUS_OK && length > 0) status = readExactly(source, entry.start, bytes.data(), length);
  return status;
}
