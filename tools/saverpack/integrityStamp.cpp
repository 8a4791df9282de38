#include "tools/saverpack/integrityStamp.h"

#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "package/dataFileFormat.h"
#include "package/integrityRecord.h"
#include "package/packageFormat.h"
#include "common/statusCodes.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

// A stored stream that the installer would expand into other bytes must not
// be shipped: the installer would refuse it as damaged.
static bool expandsTo(const std::vector<uint8_t> &stored, const std::vector<uint8_t> &bytes) {
  std::vector<uint8_t> expanded;
  return dcl::explodeBuffer(stored.data(), stored.size(), expanded) == dcl::CMP_NO_ERROR &&
         expanded == bytes;
}

bool stampMemberCrcs(const std::vector<DataMember> &members, std::vector<uint8_t> &dataFile,
                     std::string &error) {
  MemorySource source(dataFile.data(), dataFile.size());
  for (size_t i = 0; i < members.size(); ++i) {
    DataMemberRecord record;
    DataMemberHeader header;
    std::vector<uint8_t> stored;
    int32_t status =
        readExactly(source, memberRecordOffset(static_cast<int>(i) + 1), &record, sizeof(record));
    if (status == STATUS_OK) status = readMemberHeader(source, record, header);
    // Only an imploded member is read back: a plain one is its bytes.
    if (status == STATUS_OK && header.compressed != 0)
      status = readMemberBytes(source, record, header, stored);
    if (status != STATUS_OK) {
      error = "data file unreadable at member " + members[i].path;
      return false;
    }
    if (header.expandedSize == 0) continue;  // nothing is written for it
    if (header.compressed != 0 && !expandsTo(stored, members[i].bytes)) {
      error = "member " + members[i].path + " does not expand to its file";
      return false;
    }
    setMemberExpandedCrc(header, crc32Of(members[i].bytes.data(), members[i].bytes.size()));
    std::memcpy(dataFile.data() + record.headerOffset, &header, sizeof(header));
  }
  return true;
}

bool sealPackageHeader(InstallerHeader &header, const std::vector<uint8_t> &program, uint32_t packageLength,
                       uint32_t crcBehindHeader, std::string &error) {
  if (entryPresent(header.entries[0])) {
    error = "entry 0 is never installed: it holds the integrity record";
    return false;
  }
  IntegrityRecord record;
  readIntegrityRecord(header, record);  // for the movie-player byte the header holds
  record.version = INTEGRITY_VERSION;
  record.packageLength = packageLength;
  record.programLength = static_cast<uint32_t>(program.size());
  MemorySource programSource(program.data(), program.size());
  uint32_t programCrc = 0;
  computeProgramCrc(programSource, record.programLength, programCrc);
  record.programCrc = programCrc;
  // The record's own bytes count as 0, so it may be computed before they are written.
  MemorySource headerSource(reinterpret_cast<const uint8_t *>(&header), sizeof(header));
  uint32_t headerCrc = 0;
  computePackageCrc(headerSource, 0, sizeof(header), headerCrc);
  record.packageCrc = crc32Combine(headerCrc, crcBehindHeader, packageLength - int64_t{sizeof(header)});
  writeIntegrityRecord(header, record);
  return true;
}

std::vector<bool> stampedHeaderBytes(const InstallerHeader &header) {
  std::vector<bool> stamped(sizeof(InstallerHeader), false);
  auto stamp = [&stamped](size_t from, size_t count) {
    const auto first = stamped.begin() + static_cast<std::ptrdiff_t>(from);
    std::fill(first, first + static_cast<std::ptrdiff_t>(count), true);
  };
  stamp(INTEGRITY_RECORD_OFFSET, sizeof(IntegrityRecord));
  for (int index = 0; index < PACKAGE_ENTRY_COUNT; ++index)
    if (entryPresent(header.entries[index]))
      stamp(offsetof(InstallerHeader, entries) + index * sizeof(PackageEntry) +
                offsetof(PackageEntry, reserved),
            EXPANDED_CRC_TAG_SIZE);
  return stamped;
}
