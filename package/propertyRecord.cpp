#include "package/propertyRecord.h"

#include "common/statusCodes.h"

#include <cstring>
#include <set>

namespace {

const char RECORD_MAGIC[4] = {'S', 'P', 'P', 'R'};
const uint16_t END_MARK = 0;

uint16_t u16At(const uint8_t *bytes) { return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)); }

void appendU16(std::vector<uint8_t> &bytes, uint16_t value) {
  bytes.push_back(static_cast<uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

// Whether the bytes start a record, and of which version.
void readHead(const uint8_t *bytes, size_t count, PropertyRecord &record) {
  record = PropertyRecord();
  record.present =
      count >= PROPERTY_RECORD_HEAD && std::memcmp(bytes, RECORD_MAGIC, sizeof(RECORD_MAGIC)) == 0;
  if (record.present) record.version = bytes[sizeof(RECORD_MAGIC)];
}

// The items of a record of this version, from behind its head to its end.
int32_t parseItems(const uint8_t *bytes, size_t count, std::vector<PropertyItem> &items) {
  std::set<uint16_t> tags;
  for (size_t at = PROPERTY_RECORD_HEAD; count - at >= PROPERTY_ITEM_HEAD;) {
    const uint16_t tag = u16At(bytes + at);
    const uint16_t length = u16At(bytes + at + 2);
    at += PROPERTY_ITEM_HEAD;
    if (tag == END_MARK) return length == 0 && at == count ? STATUS_OK : STATUS_PACKAGE_DAMAGED;
    if (length > count - at || !tags.insert(tag).second) return STATUS_PACKAGE_DAMAGED;
    items.push_back({tag, std::string(reinterpret_cast<const char *>(bytes + at), length)});
    at += length;
  }
  return STATUS_PACKAGE_DAMAGED;  // no end mark
}

// Entry 0's range, when it lies behind the header and inside the file.
bool recordRange(const ByteSource &package, uint32_t programSize, const PackageEntry &entry,
                 uint32_t &length) {
  const int64_t headerEnd =
      static_cast<int64_t>(programSize) + static_cast<int64_t>(sizeof(InstallerHeader));
  return entry.start >= headerEnd && entryStoredLength(entry, package.size(), length) == STATUS_OK &&
         length > 0;
}

}  // namespace

int32_t parsePropertyRecord(const uint8_t *bytes, size_t count, PropertyRecord &record) {
  readHead(bytes, count, record);
  if (!record.present || record.version != PROPERTY_RECORD_VERSION) return STATUS_OK;
  const int32_t status = parseItems(bytes, count, record.items);
  if (status != STATUS_OK) record.items.clear();
  return status;
}

int32_t readPropertyRecord(ByteSource &package, uint32_t programSize, const InstallerHeader &header,
                           PropertyRecord &record) {
  record = PropertyRecord();
  const PackageEntry &locator = header.entries[0];
  uint32_t length = 0;
  if (!recordRange(package, programSize, locator, length)) return STATUS_OK;
  uint8_t head[PROPERTY_RECORD_HEAD];
  const uint32_t headLength = length < sizeof(head) ? length : static_cast<uint32_t>(sizeof(head));
  int32_t status = readExactly(package, locator.start, head, headLength);
  if (status != STATUS_OK) return status;
  // A record of another version is skipped whole, whatever its length.
  readHead(head, headLength, record);
  if (!record.present || record.version != PROPERTY_RECORD_VERSION) return STATUS_OK;
  if (length > PROPERTY_RECORD_MAX) return STATUS_PACKAGE_DAMAGED;
  std::vector<uint8_t> bytes;
  status = allocateBuffer(bytes, length);
  if (status == STATUS_OK) status = readExactly(package, locator.start, bytes.data(), length);
  if (status == STATUS_OK) status = parsePropertyRecord(bytes.data(), bytes.size(), record);
  return status;
}

std::vector<uint8_t> propertyRecordBytes(const std::vector<PropertyItem> &items) {
  std::vector<uint8_t> bytes;
  if (items.empty()) return bytes;
  bytes.assign(RECORD_MAGIC, RECORD_MAGIC + sizeof(RECORD_MAGIC));
  bytes.push_back(PROPERTY_RECORD_VERSION);
  for (const PropertyItem &item : items) {
    appendU16(bytes, item.tag);
    appendU16(bytes, static_cast<uint16_t>(item.value.size()));
    bytes.insert(bytes.end(), item.value.begin(), item.value.end());
  }
  appendU16(bytes, END_MARK);
  appendU16(bytes, 0);
  return bytes;
}

bool appendPropertyRecord(std::vector<uint8_t> &package, uint32_t programSize,
                          const std::vector<uint8_t> &record) {
  if (record.empty()) return true;
  const int64_t start = static_cast<int64_t>(programSize) + static_cast<int64_t>(package.size());
  const int64_t end = start + static_cast<int64_t>(record.size()) - 1;
  if (record.size() > PROPERTY_RECORD_MAX || end > INT32_MAX || package.size() < sizeof(InstallerHeader))
    return false;
  PackageEntry locator;
  const size_t at = offsetof(InstallerHeader, entries);
  std::memcpy(&locator, &package[at], sizeof(locator));
  locator.start = static_cast<int32_t>(start);
  locator.end = static_cast<int32_t>(end);
  std::memcpy(&package[at], &locator, sizeof(locator));
  package.insert(package.end(), record.begin(), record.end());
  return true;
}
