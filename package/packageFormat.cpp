#include "package/packageFormat.h"

#include "common/carriedFlashInstallers.h"
#include "common/statusCodes.h"
#include "package/packageLimits.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

int32_t MemorySource::readAt(int64_t offset, void *buffer, uint32_t count, uint32_t &got) {
  got = 0;
  if (offset < 0 || offset >= size()) return 0;
  const uint64_t available = count_ - static_cast<size_t>(offset);
  got = available < count ? static_cast<uint32_t>(available) : count;
  std::memcpy(buffer, bytes_ + offset, got);
  return 0;
}

int32_t SliceSource::readAt(int64_t offset, void *buffer, uint32_t count, uint32_t &got) {
  got = 0;
  if (whole_ == nullptr || offset < 0 || offset >= length_) return STATUS_OK;
  const uint32_t inSlice = static_cast<uint32_t>(std::min<int64_t>(count, length_ - offset));
  return whole_->readAt(offset_ + offset, buffer, inSlice, got);
}

int32_t readExactly(ByteSource &source, int64_t offset, void *buffer, uint32_t count) {
  uint32_t got = 0;
  const int32_t status = source.readAt(offset, buffer, count, got);
  if (status != STATUS_OK) return status;
  return got == count ? STATUS_OK : STATUS_SHORT_ENTRY;
}

int32_t allocateBuffer(std::vector<uint8_t> &bytes, uint32_t count) {
  // In a 32-bit program a vector holds at most 2 GiB.
  if (count > bytes.max_size()) return STATUS_OUT_OF_MEMORY;
  // The programs have no exceptions, so a resize the heap cannot serve would
  // end them: ask the heap first. The block it gives now it gives again to
  // the resize that follows at once.
  if (count > bytes.capacity()) {
    void *probe = std::malloc(count);
    if (probe == nullptr) return STATUS_OUT_OF_MEMORY;
    std::free(probe);
  }
  bytes.resize(count);
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

// A length above 2 GiB reads as a negative number in its field.
static bool withinLimits(const PackageEntry &entry) {
  const int64_t start = entry.start;
  const int64_t stored = static_cast<int64_t>(entry.end) - start + 1;
  return start >= 0 && stored >= 0 && stored <= MAX_ENTRY_BYTES && start + stored <= MAX_PACKAGE_BYTES &&
         entry.expandedSize >= 0 && static_cast<int64_t>(entry.expandedSize) <= MAX_ENTRY_BYTES;
}

int32_t parseInstallerHeader(const uint8_t *bytes, size_t count, InstallerHeader &header) {
  if (count < sizeof(InstallerHeader)) return STATUS_SHORT_HEADER;
  std::memcpy(&header, bytes, sizeof(InstallerHeader));
  if (header.carriesFlashInstaller != 0 &&
      header.flashInstallerVersionIndex >= CARRIED_FLASH_INSTALLER_COUNT)
    return STATUS_INVALID_HEADER;
  for (const PackageEntry &entry : header.entries)
    if (entryPresent(entry) && !withinLimits(entry)) return STATUS_INVALID_HEADER;
  return STATUS_OK;
}

std::string saverNameOf(const InstallerHeader &header) {
  const char *name = header.saverName;
  return std::string(name, strnlen(name, sizeof(header.saverName)));
}

bool entryPresent(const PackageEntry &entry) { return entry.nameLength != 0; }

std::string entryNameOf(const PackageEntry &entry) { return std::string(entry.name, entry.nameLength); }

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
