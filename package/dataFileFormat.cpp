#include "package/dataFileFormat.h"

#include "common/statusCodes.h"

#include <cstring>

int32_t checkMemberCount(int32_t memberCount) {
  return memberCount < 0 || memberCount > MAX_DATA_MEMBERS ? STATUS_TOO_MANY_MEMBERS : STATUS_OK;
}

int64_t memberRecordOffset(int memberIndex) {
  return static_cast<int64_t>(sizeof(SaverSettings)) +
         static_cast<int64_t>(memberIndex - 1) * static_cast<int64_t>(sizeof(DataMemberRecord));
}

bool memberPathTerminated(const DataMemberRecord &record) {
  return strnlen(record.path, sizeof(record.path)) < sizeof(record.path);
}

std::string memberPathOf(const DataMemberRecord &record) {
  if (!memberPathTerminated(record)) return std::string();
  return std::string(record.path);
}

int32_t checkMemberHeaderOffset(int64_t headerOffset, int64_t fileSize) {
  if (headerOffset < 0 || headerOffset + static_cast<int64_t>(sizeof(DataMemberHeader)) > fileSize)
    return STATUS_SHORT_ENTRY;
  return STATUS_OK;
}

int32_t memberStoredLength(const DataMemberHeader &header, int64_t headerOffset, int64_t fileSize,
                           uint32_t &length) {
  int32_t status = checkMemberHeaderOffset(headerOffset, fileSize);
  if (status != STATUS_OK) return status;
  length = 0;
  if (header.expandedSize == 0) return STATUS_OK;
  const int64_t stored = header.compressed != 0 ? header.storedSize : header.expandedSize;
  const int64_t dataStart = headerOffset + static_cast<int64_t>(sizeof(DataMemberHeader));
  if (stored < 0 || dataStart + stored > fileSize) return STATUS_SHORT_ENTRY;
  length = static_cast<uint32_t>(stored);
  return STATUS_OK;
}

int32_t readSaverSettings(ByteSource &source, SaverSettings &settings) {
  return readExactly(source, 0, &settings, sizeof(settings));
}

int32_t readMemberTable(ByteSource &source, SaverSettings &settings, DataMemberRecord *table) {
  int32_t status = readSaverSettings(source, settings);
  std::memset(table, 0, sizeof(DataMemberRecord) * MEMBER_TABLE_SIZE);
  if (status == STATUS_OK) status = checkMemberCount(settings.memberCount);
  if (status == STATUS_OK && settings.memberCount > 0)
    status = readExactly(source, memberRecordOffset(1), &table[1],
                         static_cast<uint32_t>(sizeof(DataMemberRecord) * settings.memberCount));
  return status;
}

int32_t readMemberHeader(ByteSource &source, const DataMemberRecord &record, DataMemberHeader &header) {
  const int32_t status = checkMemberHeaderOffset(record.headerOffset, source.size());
  if (status != STATUS_OK) return status;
  return readExactly(source, record.headerOffset, &header, sizeof(header));
}

int32_t memberStoredSlice(ByteSource &source, const DataMemberRecord &record,
                          const DataMemberHeader &header, SliceSource &stored) {
  uint32_t length = 0;
  const int32_t status = memberStoredLength(header, record.headerOffset, source.size(), length);
  if (status != STATUS_OK) return status;
  stored = SliceSource(source, record.headerOffset + static_cast<int64_t>(sizeof(header)), length);
  return STATUS_OK;
}

int32_t readMemberBytes(ByteSource &source, const DataMemberRecord &record, const DataMemberHeader &header,
                        std::vector<uint8_t> &bytes) {
  SliceSource stored;
  int32_t status = memberStoredSlice(source, record, header, stored);
  const uint32_t length = static_cast<uint32_t>(stored.size());
  if (status == STATUS_OK) status = allocateBuffer(bytes, length);
  if (status == STATUS_OK && length > 0) status = readExactly(stored, 0, bytes.data(), length);
  return status;
}
