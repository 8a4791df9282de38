#include "package/integrityRecord.h"

#include "common/signatureFields.h"
#include "common/statusCodes.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const char RECORD_MAGIC[4] = {'S', 'P', 'I', 'R'};

// The expanded-CRC tag: a marker, the version, the CRC little-endian.
const uint8_t TAG_MARKER = 'C';

const uint32_t CHUNK_SIZE = 64 * 1024;

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

// Bytes of a range that a CRC counts as 0.
struct ZeroedBytes {
  int64_t from = 0;
  size_t count = 0;
};

// CRC of length bytes at offset, the zeroed bytes counted as 0.
int32_t crcOfRange(ByteSource &source, int64_t offset, uint32_t length, const ZeroedBytes *zeroed,
                   size_t zeroedCount, uint32_t &crc) {
  std::vector<uint8_t> chunk(std::min(length, CHUNK_SIZE));
  crc = 0;
  for (uint32_t done = 0; done < length;) {
    const uint32_t count = std::min(length - done, CHUNK_SIZE);
    const int64_t at = offset + done;
    const int32_t status = readExactly(source, at, chunk.data(), count);
    if (status != STATUS_OK) return status;
    for (size_t i = 0; i < zeroedCount; ++i) {
      const int64_t from = std::max(zeroed[i].from, at);
      const int64_t to = std::min(zeroed[i].from + static_cast<int64_t>(zeroed[i].count), at + count);
      if (from < to) std::memset(chunk.data() + (from - at), 0, static_cast<size_t>(to - from));
    }
    crc = crc32Update(crc, chunk.data(), count);
    done += count;
  }
  return STATUS_OK;
}

}  // namespace

uint32_t crc32Update(uint32_t crc, const void *bytes, size_t count) {
  // zlib takes 32-bit lengths; larger buffers go in pieces.
  const Bytef *next = static_cast<const Bytef *>(bytes);
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

bool readIntegrityRecord(const InstallerHeader &header, IntegrityRecord &record) {
  std::memcpy(&record, reinterpret_cast<const uint8_t *>(&header) + INTEGRITY_RECORD_OFFSET, sizeof(record));
  return std::memcmp(record.magic, RECORD_MAGIC, sizeof(RECORD_MAGIC)) == 0;
}

void writeIntegrityRecord(InstallerHeader &header, const IntegrityRecord &record) {
  IntegrityRecord marked = record;
  std::memcpy(marked.magic, RECORD_MAGIC, sizeof(RECORD_MAGIC));
  std::memcpy(reinterpret_cast<uint8_t *>(&header) + INTEGRITY_RECORD_OFFSET, &marked, sizeof(marked));
}

int32_t computeRangeCrc(ByteSource &source, int64_t offset, uint32_t length, uint32_t &crc) {
  return crcOfRange(source, offset, length, nullptr, 0, crc);
}

int32_t computePackageCrc(ByteSource &source, int64_t offset, uint32_t length, uint32_t &crc) {
  const ZeroedBytes record = {offset + static_cast<int64_t>(INTEGRITY_RECORD_OFFSET), sizeof(IntegrityRecord)};
  return crcOfRange(source, offset, length, &record, 1, crc);
}

int32_t computeProgramCrc(ByteSource &source, uint32_t length, uint32_t &crc) {
  uint8_t header[SIGNATURE_HEADER_BYTES];
  const uint32_t headerBytes = std::min<uint32_t>(length, sizeof(header));
  int32_t status = readExactly(source, 0, header, headerBytes);
  if (status != STATUS_OK) return status;
  SignatureFields fields;
  if (!readSignatureFields(header, headerBytes, fields)) return computeRangeCrc(source, 0, length, crc);
  const ZeroedBytes signing[] = {{fields.checksumOffset, CHECKSUM_FIELD_SIZE},
                                 {fields.certificateEntryOffset, CERTIFICATE_ENTRY_SIZE}};
  return crcOfRange(source, 0, length, signing, 2, crc);
}

int32_t checkPackageIntegrity(ByteSource &file, uint32_t programSize, const InstallerHeader &header,
                              IntegrityCheck &check) {
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
  uint32_t programCrc = 0;
  int32_t status = computeProgramCrc(file, programSize, programCrc);
  // Records made before signing was known hold the CRC of the bytes as they
  // are; an unsigned program still matches them.
  if (status == STATUS_OK && programCrc != record.programCrc) status = computeRangeCrc(file, 0, programSize, programCrc);
  if (status != STATUS_OK) return status;
  if (programCrc != record.programCrc) {
    check.verdict = IntegrityVerdict::programChanged;
    return STATUS_OK;
  }
  if (check.packageBytes < static_cast<int64_t>(record.packageLength)) {
    check.verdict = IntegrityVerdict::packageCut;
    return STATUS_OK;
  }
  uint32_t packageCrc = 0;
  status = computePackageCrc(file, programSize, record.packageLength, packageCrc);
  if (status != STATUS_OK) return status;
  check.verdict = packageCrc == record.packageCrc ? IntegrityVerdict::intact : IntegrityVerdict::packageChanged;
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
  if (!readIntegrityRecord(header, record) || record.version != INTEGRITY_VERSION) return MoviePlayerNeed::notStated;
  const MoviePlayerNeed need = static_cast<MoviePlayerNeed>(record.moviePlayer);
  return need == MoviePlayerNeed::required || need == MoviePlayerNeed::none ? need : MoviePlayerNeed::notStated;
}

ExpandedCrc entryExpandedCrc(const PackageEntry &entry) { return readTag(entry.reserved); }
void setEntryExpandedCrc(PackageEntry &entry, uint32_t crc) { writeTag(entry.reserved, crc); }
ExpandedCrc memberExpandedCrc(const DataMemberHeader &header) { return readTag(header.reserved2); }
void setMemberExpandedCrc(DataMemberHeader &header, uint32_t crc) { writeTag(header.reserved2, crc); }

int32_t checkExpandedCrc(const ExpandedCrc &expected, uint32_t crc) {
  return expected.present && expected.value != crc ? STATUS_EXPANDED_CRC_MISMATCH : STATUS_OK;
}
