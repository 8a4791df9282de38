// The integrity record of a package: CRC-32 checksums that the packer writes
// into bytes the package format leaves unused, so that older installers read
// such a package as before, and that the installer and the packer check.
//
// - The package record: 22 bytes in entry 0's name field, behind its length
//   byte, which stays 0 (entry 0 is never extracted). It holds the package's
//   length and CRC, the installer program's length and CRC, and whether the
//   screen saver needs the movie player.
// - An expanded-CRC tag of 6 bytes at the start of each entry's reserved
//   bytes and of each data-file member header's second reserved field: the
//   CRC-32 of the bytes as they are installed.
// Each part is present only when its marker is; a package or member without
// one is taken as it is. The layout is documented in tools/saverpack/manifest.md.
#ifndef SAVER_PACKAGE_INTEGRITY_RECORD_H
#define SAVER_PACKAGE_INTEGRITY_RECORD_H

#include "package/dataStructures_shared.h"
#include "package/packageFormat.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Standard CRC-32 (zip, PNG); crc32Update continues an earlier result.
uint32_t crc32Of(const void *bytes, size_t count);
uint32_t crc32Update(uint32_t crc, const void *bytes, size_t count);
// The CRC of A followed by B, from theirs and B's length.
uint32_t crc32Combine(uint32_t crcA, uint32_t crcB, int64_t lengthB);

const uint8_t INTEGRITY_VERSION = 1;

#pragma pack(push, 1)
struct IntegrityRecord {
  char magic[4];           // "SPIR"
  uint8_t version;         // INTEGRITY_VERSION
  uint8_t moviePlayer;     // a MoviePlayerNeed; 0 in packages built before it
  uint32_t packageLength;  // from the header's first byte to the package's last
  uint32_t packageCrc;     // of those bytes, this record's own bytes taken as 0
  uint32_t programLength;  // the installer program in front of the header
  uint32_t programCrc;     // computeProgramCrc of the program's bytes
};
#pragma pack(pop)

static_assert(sizeof(IntegrityRecord) == 22, "IntegrityRecord size");
// Offset in the header: entry 0's name characters.
const size_t INTEGRITY_RECORD_OFFSET = offsetof(InstallerHeader, entries) + 1;

// True when the header carries a record (its magic), whatever its version.
bool readIntegrityRecord(const InstallerHeader &header, IntegrityRecord &record);
void writeIntegrityRecord(InstallerHeader &header, const IntegrityRecord &record);

// The CRC-32 of length bytes of source at offset: 0 or the status of a
// failed or short read. computePackageCrc takes the record's bytes of the
// header at offset as 0, which makes it the package CRC of the record.
int32_t computeRangeCrc(ByteSource &source, int64_t offset, uint32_t length, uint32_t &crc);
int32_t computePackageCrc(ByteSource &source, int64_t offset, uint32_t length, uint32_t &crc);
// The CRC-32 of the program in the first length bytes of source, its header
// checksum and certificate-table entry counted as 0: what signing changes in
// front of the package. The certificate table itself lies behind the package.
int32_t computeProgramCrc(ByteSource &source, uint32_t length, uint32_t &crc);

enum class IntegrityVerdict {
  noRecord,  // an older package: nothing to check
  intact,
  unknownVersion,  // a record this reader does not know
  packageCut,      // the file ends before the recorded package length
  packageChanged,  // the package's CRC differs
  programChanged,  // the installer program's length or CRC differs
};

struct IntegrityCheck {
  IntegrityVerdict verdict = IntegrityVerdict::noRecord;
  IntegrityRecord record{};
  int64_t packageBytes = 0;  // in the file behind the program
};

// Stored bytes whose CRC is known from elsewhere (package/vouchedSpans.h):
// the integrity pass takes the CRC in place of reading them.
struct VouchedSpan {
  int64_t offset = 0;  // in the file
  uint32_t length = 0;
  uint32_t crc = 0;
};

// Checks the program (bytes 0..programSize-1 of file) and the package behind
// it against the header's record. Vouched spans that lie whole in the
// package behind its header, each behind the last one taken, are not read:
// their CRCs stand for them, and whoever uses their bytes must check them. The program matches when
// computeProgramCrc does, or, for records made before it, the CRC of its bytes as they are. Bytes behind
// the recorded package length (a signature appended to the file, say) are not counted. Returns 0 or the I/O
// code of a failed read; the outcome is in check.
int32_t checkPackageIntegrity(ByteSource &file, uint32_t programSize, const InstallerHeader &header,
                              IntegrityCheck &check, const std::vector<VouchedSpan> &vouched = {});

// STATUS_PACKAGE_DAMAGED for every verdict but noRecord and intact.
int32_t integrityStatus(IntegrityVerdict verdict);
// What is wrong, in a few words; "ok" when intact.
std::string integrityVerdictText(const IntegrityCheck &check);

// Whether the screen saver needs the movie player. The byte is one of the
// record's own, which the package CRC counts as 0: installers already
// shipped compute the CRC so, and would refuse a package whose CRC covered
// it. Unprotected, the two stated values differ from each other and from 0
// in three bits or more, so a flipped bit gives "not stated", never the
// other one.
enum class MoviePlayerNeed : uint8_t {
  notStated = 0,    // decide as before: detect the player, -402 without one
  required = 0x52,  // 'R'
  none = 0x4E,      // 'N': no detection; a movie splash is never played
};

// The stored byte taken as a need: notStated without a record of this
// version, and for any other value.
MoviePlayerNeed moviePlayerNeedOf(const InstallerHeader &header);

// The expanded-CRC tag of an entry or a member, at the start of its
// reserved bytes.
const size_t EXPANDED_CRC_TAG_SIZE = 6;
struct ExpandedCrc {
  bool present = false;
  uint32_t value = 0;
};

ExpandedCrc entryExpandedCrc(const PackageEntry &entry);
void setEntryExpandedCrc(PackageEntry &entry, uint32_t crc);
ExpandedCrc memberExpandedCrc(const DataMemberHeader &header);
void setMemberExpandedCrc(DataMemberHeader &header, uint32_t crc);

// STATUS_EXPANDED_CRC_MISMATCH when a tag is present and crc differs from it.
int32_t checkExpandedCrc(const ExpandedCrc &expected, uint32_t crc);

#endif
