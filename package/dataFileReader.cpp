#include "package/dataFileReader.h"

#include "package/dataFileFormat.h"
#include "package/packageReader.h"
#include "common/statusCodes.h"

#include <cstring>

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

int32_t readMemberBytes(ByteSource &source, const DataMemberRecord &record,
                        const DataMemberHeader &header, std::vector<uint8_t> &bytes) {
  uint32_t length = 0;
  int32_t status = memberStoredLength(header, record.headerOffset, source.size(), length);
  if (status == STATUS_OK) status = allocateBuffer(bytes, length);
  if (status == STATUS_OK && length > 0)
    status = readExactly(source, record.headerOffset + static_cast<int64_t>(sizeof(header)),
                         bytes.data(), length);
  return status;
}
