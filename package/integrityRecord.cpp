#include "package/integrityRecord.h"

#include "common/signatureFields.h"
#include "common/statusCodes.h"
#include "package/crc32Folding.h"
#include "package/packageProperties.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

const char RECORD_MAGIC[4] = {'S', 'P', 'I', 'R'};

// The expanded-CRC tag: a marker, the version, the CRC little-endian.
const uint8_t TAG_MARKER = 'C';

// The integrity pass reads the whole file: in few, large reads.
const int64_t BLOCK_SIZE = 1 << 20;

static_assert(sizeof(PackageEntry::reserved) >= EXPANDED_CRC_TAG_SIZE, "entry tag fits");
static_assert(sizeof(DataMemberHeader::reserved2) >= EXPANDED_CRC_TAG_SIZE, "member tag fits");
static_assert(INTEGRITY_RECORD_OFFSET + sizeof(IntegrityRecord) <=
                  offsetof(InstallerHeader, entries) + offsetof(PackageEntry, start),
              "the record lies in entry 0's name field");

ExpandedCrc readTag(const uint8_t *tag) {
  ExpandedCrc crc;
  crc.present = tag[0] == TAG_MARKER && tag[1] == INTEGRITY_VERSION;
  if (crc.present) std::memcpy(&crc.value, tag + 2, sizeof(crc.value));
  return crc;
}

void writeTag(uint8_t *tag, uint32_t crc) {
  tag[0] = TAG_MARKER;
  tag[1] = INTEGRITY_VERSION;
  std::memcpy(tag + 2, &crc, sizeof(crc));
}

// Bytes of a range that a CRC counts as 0, at most ZEROS' length each.
struct ZeroedBytes {
  int64_t from = 0;
  size_t count = 0;
};

const uint8_t ZEROS[32] = {};
static_assert(sizeof(IntegrityRecord) <= sizeof(ZEROS), "the record is zeroed in one piece");

// One CRC over length bytes from offset, its zeroed bytes (in ascending
// order, apart from each other) counted as 0.
struct CrcRange {
  int64_t offset = 0;
  int64_t length = 0;
  const ZeroedBytes *zeroed = nullptr;
  size_t zeroedCount = 0;
  uint32_t crc = 0;
};

// The part of block (count bytes of the file from at) that lies in range.
void updateRange(CrcRange &range, const uint8_t *block, int64_t at, uint32_t count) {
  const int64_t to = std::min(range.offset + range.length, at + count);
  int64_t position = std::max(range.offset, at);
  for (size_t i = 0; i < range.zeroedCount && position < to; ++i) {
    const int64_t zeroFrom = std::max(range.zeroed[i].from, position);
    const int64_t zeroTo = std::min(range.zeroed[i].from + static_cast<int64_t>(range.zeroed[i].count), to);
    if (zeroFrom >= zeroTo) continue;
    range.crc = crc32Update(range.crc, block + (position - at), static_cast<size_t>(zeroFrom - position));
    range.crc = crc32Update(range.crc, ZEROS, static_cast<size_t>(zeroTo - zeroFrom));
    position = zeroTo;
  }
  if (position < to)
    range.crc = crc32Update(range.crc, block + (position - at), static_cast<size_t>(to - position));
}

// The vouched spans that lie whole in the package range behind the header,
// each behind the last one taken: the only ones the pass may take on their
// word. Every byte is so either read or vouched for by one member, whose
// copy checks it.
std::vector<VouchedSpan> spansInPackage(const std::vector<VouchedSpan> &vouched, const CrcRange &package) {
  std::vector<VouchedSpan> inside;
  int64_t from = package.offset + static_cast<int64_t>(sizeof(InstallerHeader));
  for (const VouchedSpan &span : vouched) {
    if (span.offset < from || span.offset + span.length > package.offset + package.length) continue;
    inside.push_back(span);
    from = span.offset + span.length;
  }
  return inside;
}

// A vouched span's CRC joins each range that holds it, in place of its bytes.
void takeVouchedSpan(CrcRange *ranges, size_t rangeCount, const VouchedSpan &span) {
  for (size_t i = 0; i < rangeCount; ++i) {
    CrcRange &range = ranges[i];
    if (span.offset >= range.offset && span.offset + span.length <= range.offset + range.length)
      range.crc = crc32Combine(range.crc, span.crc, span.length);
  }
}

// Reads the bytes the ranges cover once, in large blocks, and takes each
// range's CRC: 0 or the status of a failed or short read. The vouched spans
// (ascending, apart) are not read.
int32_t crcOfRanges(ByteSource &source, CrcRange *ranges, size_t rangeCount,
                    const std::vector<VouchedSpan> &vouched = {}) {
  int64_t from = INT64_MAX, to = 0;
  for (size_t i = 0; i < rangeCount; ++i) {
    ranges[i].crc = 0;
    if (ranges[i].length == 0) continue;
    from = std::min(from, ranges[i].offset);
    to = std::max(to, ranges[i].offset + ranges[i].length);
  }
  if (to <= from) return STATUS_OK;
  std::vector<uint8_t> block;
  int32_t status = allocateBuffer(block, static_cast<uint32_t>(std::min<int64_t>(to - from, BLOCK_SIZE)));
  size_t next = 0;
  for (int64_t at = from; status == STATUS_OK && at < to;) {
    if (next < vouched.size() && at == vouched[next].offset) {
      takeVouchedSpan(ranges, rangeCount, vouched[next]);
      at += vouched[next++].length;
      continue;
    }
    const int64_t end = next < vouched.size() ? std::min(to, vouched[next].offset) : to;
    const uint32_t count = static_cast<uint32_t>(std::min<int64_t>(end - at, BLOCK_SIZE));
    status = readExactly(source, at, block.data(), count);
    for (size_t i = 0; status == STATUS_OK && i < rangeCount; ++i)
      updateRange(ranges[i], block.data(), at, count);
    at += count;
  }
  return status;
}

CrcRange packageRange(int64_t offset, uint32_t length, const ZeroedBytes &record) {
  CrcRange range;
  range.offset = offset;
  range.length = length;
  range.zeroed = &record;
  range.zeroedCount = 1;
  return range;
}

ZeroedBytes recordBytes(int64_t packageOffset) {
  return {packageOffset + static_cast<int64_t>(INTEGRITY_RECORD_OFFSET), sizeof(IntegrityRecord)};
}

// The program's range with its signing fields zeroed, in ascending order;
// a program without them has none.
int32_t programRange(ByteSource &source, uint32_t length, ZeroedBytes (&signing)[2], CrcRange &range) {
  range = CrcRange();
  range.length = length;
  uint8_t header[SIGNATURE_HEADER_BYTES];
  const uint32_t headerBytes = std::min<uint32_t>(length, sizeof(header));
  const int32_t status = readExactly(source, 0, header, headerBytes);
  if (status != STATUS_OK) return status;
  SignatureFields fields;
  if (!readSignatureFields(header, headerBytes, fields)) return STATUS_OK;
  signing[0] = {fields.checksumOffset, CHECKSUM_FIELD_SIZE};
  signing[1] = {fields.certificateEntryOffset, CERTIFICATE_ENTRY_SIZE};
  if (signing[1].from < signing[0].from) std::swap(signing[0], signing[1]);
  range.zeroed = signing;
  range.zeroedCount = 2;
  return STATUS_OK;
}

}  // namespace

uint32_t crc32Update(uint32_t crc, const void *bytes, size_t count) {
  const Bytef *next = static_cast<const Bytef *>(bytes);
  const size_t folded = crc32FoldBlocks(crc, next, count);
  next += folded;
  count -= folded;
  // zlib takes 32-bit lengths; larger buffers go in pieces.
  uLong result = crc;
  while (count > 0) {
    const uInt piece = static_cast<uInt>(std::min<size_t>(count, 1u << 30));
    result = ::crc32(result, next, piece);
    next += piece;
    count -= piece;
  }
  return static_cast<uint32_t>(result);
}

uint32_t crc32Of(const void *bytes, size_t count) { return crc32Update(0, bytes, count); }

uint32_t crc32Combine(uint32_t crcA, uint32_t crcB, int64_t lengthB) {
  // z_off_t may be 32 bits: enough, as a package ends below 2 GB.
  return static_cast<uint32_t>(::crc32_combine(crcA, crcB, static_cast<z_off_t>(lengthB)));
}

bool readIntegrityRecord(const InstallerHeader &header, IntegrityRecord &record) {
  std::memcpy(&record, reinterpret_cast<const uint8_t *>(&header) + INTEGRITY_RECORD_OFFSET,
              sizeof(record));
  return std::memcmp(record.magic, RECORD_MAGIC, sizeof(RECORD_MAGIC)) == 0;
}

void writeIntegrityRecord(InstallerHeader &header, const IntegrityRecord &record) {
  IntegrityRecord marked = record;
  std::memcpy(marked.magic, RECORD_MAGIC, sizeof(RECORD_MAGIC));
  std::memcpy(reinterpret_cast<uint8_t *>(&header) + INTEGRITY_RECORD_OFFSET, &marked, sizeof(marked));
}

int32_t computeRangeCrc(ByteSource &source, int64_t offset, uint32_t length, uint32_t &crc) {
  CrcRange range;
  range.offset = offset;
  range.length = length;
  const int32_t status = crcOfRanges(source, &range, 1);
  crc = range.crc;
  return status;
}

int32_t computePackageCrc(ByteSource &source, int64_t offset, uint32_t length, uint32_t &crc) {
  const ZeroedBytes record = recordBytes(offset);
  CrcRange range = packageRange(offset, length, record);
  const int32_t status = crcOfRanges(source, &range, 1);
  crc = range.crc;
  return status;
}

int32_t computeProgramCrc(ByteSource &source, uint32_t length, uint32_t &crc) {
  ZeroedBytes signing[2];
  CrcRange range;
  int32_t status = programRange(source, length, signing, range);
  if (status == STATUS_OK) status = crcOfRanges(source, &range, 1);
  crc = range.crc;
  return status;
}

int32_t checkPackageIntegrity(ByteSource &file, uint32_t programSize, const InstallerHeader &header,
                              IntegrityCheck &check, const std::vector<VouchedSpan> &vouched) {
  check = IntegrityCheck();
  check.packageBytes = file.size() - static_cast<int64_t>(programSize);
  if (!readIntegrityRecord(header, check.record)) return STATUS_OK;
  const IntegrityRecord &record = check.record;
  if (record.version != INTEGRITY_VERSION) {
    check.verdict = IntegrityVerdict::unknownVersion;
    return STATUS_OK;
  }
  // The program first: a changed program may look for its package in the
  // wrong place, and then the package's own verdict would mislead.
  if (record.programLength != programSize) {
    check.verdict = IntegrityVerdict::programChanged;
    return STATUS_OK;
  }
  // One pass over the file: the program as signing leaves it and as it is,
  // and the package when the file holds all of it.
  const bool packageWhole = check.packageBytes >= static_cast<int64_t>(record.packageLength);
  ZeroedBytes signing[2];
  CrcRange ranges[3];
  int32_t status = programRange(file, programSize, signing, ranges[0]);
  ranges[1].length = programSize;
  const ZeroedBytes recordInFile = recordBytes(programSize);
  if (packageWhole) ranges[2] = packageRange(programSize, record.packageLength, recordInFile);
  if (status == STATUS_OK) status = crcOfRanges(file, ranges, 3, spansInPackage(vouched, ranges[2]));
  if (status != STATUS_OK) return status;
  // Records made before signing was known hold the CRC of the bytes as they
  // are; an unsigned program still matches them.
  if (ranges[0].crc != record.programCrc && ranges[1].crc != record.programCrc) {
    check.verdict = IntegrityVerdict::programChanged;
    return STATUS_OK;
  }
  if (!packageWhole) {
    check.verdict = IntegrityVerdict::packageCut;
    return STATUS_OK;
  }
  const uint32_t packageCrc = ranges[2].crc;
  check.verdict =
      packageCrc == record.packageCrc ? IntegrityVerdict::intact : IntegrityVerdict::packageChanged;
  return STATUS_OK;
}

int32_t integrityStatus(IntegrityVerdict verdict) {
  return verdict == IntegrityVerdict::noRecord || verdict == IntegrityVerdict::intact
             ? STATUS_OK
             : STATUS_PACKAGE_DAMAGED;
}

std::string integrityVerdictText(const IntegrityCheck &check) {
  switch (check.verdict) {
    case IntegrityVerdict::noRecord:
      return "no integrity record";
    case IntegrityVerdict::intact:
      return "ok";
    case IntegrityVerdict::unknownVersion:
      return "integrity record of unknown version " + std::to_string(check.record.version);
    case IntegrityVerdict::packageCut:
      return "file cut short: package has " + std::to_string(check.packageBytes) + " of " +
             std::to_string(check.record.packageLength) + " bytes";
    case IntegrityVerdict::packageChanged:
      return "package damaged: its CRC-32 does not match";
    case IntegrityVerdict::programChanged:
      return "installer program damaged: its length or CRC-32 does not match";
  }
  return std::string();
}

MoviePlayerNeed moviePlayerNeedOf(const InstallerHeader &header) {
  IntegrityRecord record;
  if (!readIntegrityRecord(header, record) || record.version != INTEGRITY_VERSION)
    return MoviePlayerNeed::notStated;
  const MoviePlayerNeed need = static_cast<MoviePlayerNeed>(headerProperties(header).moviePlayer);
  return need == MoviePlayerNeed::required || need == MoviePlayerNeed::none ? need
                                                                            : MoviePlayerNeed::notStated;
}

ExpandedCrc entryExpandedCrc(const PackageEntry &entry) { return readTag(entry.reserved); }
void setEntryExpandedCrc(PackageEntry &entry, uint32_t crc) { writeTag(entry.reserved, crc); }
ExpandedCrc memberExpandedCrc(const DataMemberHeader &header) { return readTag(header.reserved2); }
void setMemberExpandedCrc(DataMemberHeader &header, uint32_t crc) { writeTag(header.reserved2, crc); }

int32_t checkExpandedCrc(const ExpandedCrc &expected, uint32_t crc) {
  return expected.present && expected.value != crc ? STATUS_EXPANDED_CRC_MISMATCH : STATUS_OK;
}
