#include "package/vouchedSpans.h"

#include "common/statusCodes.h"
#include "package/dataFileFormat.h"

namespace {

// The span of a member's stored bytes in the file, when it can be vouched for.
bool memberSpan(ByteSource &dataFile, int64_t dataFileStart, const DataMemberRecord &record,
                uint32_t minBytes, VouchedSpan &span) {
  DataMemberHeader header;
  SliceSource stored;
  if (readMemberHeader(dataFile, record, header) != STATUS_OK || header.compressed != 0) return false;
  const ExpandedCrc crc = memberExpandedCrc(header);
  if (!crc.present || memberStoredSlice(dataFile, record, header, stored) != STATUS_OK) return false;
  if (stored.size() < minBytes) return false;
  span.offset = dataFileStart + record.headerOffset + static_cast<int64_t>(sizeof(header));
  span.length = static_cast<uint32_t>(stored.size());
  span.crc = crc.value;
  return true;
}

// Whether member i's bytes, which end where the next member's header begins
// (the packer writes them in the table's order) or with the file, are too
// few to vouch for: its header is then not read at start-up. A table out of
// order says nothing, and the header is read.
bool tooShortToVouch(const DataMemberRecord *table, int i, int count, int64_t fileSize, uint32_t minBytes) {
  const int64_t end = i < count ? table[i + 1].headerOffset : fileSize;
  const int64_t room = end - table[i].headerOffset - static_cast<int64_t>(sizeof(DataMemberHeader));
  return end > table[i].headerOffset && room < static_cast<int64_t>(minBytes);
}

}  // namespace

std::vector<VouchedSpan> findVouchedSpans(ByteSource &file, const InstallerHeader &header,
                                          uint32_t minBytes) {
  std::vector<VouchedSpan> spans;
  const PackageEntry &entry = header.entries[ENTRY_DATA_FILE];
  uint32_t length = 0;
  if (!entryPresent(entry) || entry.compressed != 0 ||
      entryStoredLength(entry, file.size(), length) != STATUS_OK)
    return spans;
  SliceSource dataFile(file, entry.start, length);
  SaverSettings settings;
  std::vector<DataMemberRecord> table(MEMBER_TABLE_SIZE);
  if (readMemberTable(dataFile, settings, table.data()) != STATUS_OK) return spans;
  for (int i = 1; i <= settings.memberCount; ++i) {
    VouchedSpan span;
    if (tooShortToVouch(table.data(), i, settings.memberCount, dataFile.size(), minBytes)) continue;
    if (memberSpan(dataFile, entry.start, table[i], minBytes, span)) spans.push_back(span);
  }
  return spans;
}
