#include "common/signatureFields.h"

namespace {

const uint32_t DOS_HEADER_SIZE = 64;
const uint32_t NEW_HEADER_POINTER = 0x3c;
const uint32_t COFF_HEADER_SIZE = 20;  // behind the 4-byte "PE\0\0"
const uint16_t PE32_MAGIC = 0x10b;
const uint16_t PE32_PLUS_MAGIC = 0x20b;
const uint32_t CHECKSUM_AT = 64;  // in the optional header, both kinds
const uint32_t CERTIFICATE_DIRECTORY = 4;
const uint32_t DIRECTORY_ENTRY_SIZE = 8;

uint32_t read16(const uint8_t *at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8;
}
uint32_t read32(const uint8_t *at) { return read16(at) | read16(at + 2) << 16; }

}  // namespace

bool readSignatureFields(const uint8_t *bytes, size_t count, SignatureFields &fields) {
  fields = SignatureFields();
  if (count < DOS_HEADER_SIZE || bytes[0] != 'M' || bytes[1] != 'Z') return false;
  // 64-bit arithmetic throughout: a hostile pointer cannot wrap around.
  const uint64_t peAt = read32(bytes + NEW_HEADER_POINTER);
  const uint64_t optionalAt = peAt + 4 + COFF_HEADER_SIZE;
  if (optionalAt + 2 > count) return false;
  if (bytes[peAt] != 'P' || bytes[peAt + 1] != 'E' || bytes[peAt + 2] != 0 || bytes[peAt + 3] != 0)
    return false;
  const uint32_t optionalSize = read16(bytes + peAt + 4 + 16);
  const uint32_t magic = read16(bytes + optionalAt);
  if (magic != PE32_MAGIC && magic != PE32_PLUS_MAGIC) return false;
  // The directory count and the directories follow the fields of fixed size.
  const uint32_t countAt = magic == PE32_MAGIC ? 92 : 108;
  const uint64_t entryAt = countAt + 4 + CERTIFICATE_DIRECTORY * DIRECTORY_ENTRY_SIZE;
  if (entryAt + DIRECTORY_ENTRY_SIZE > optionalSize || optionalAt + entryAt + DIRECTORY_ENTRY_SIZE > count)
    return false;
  if (read32(bytes + optionalAt + countAt) <= CERTIFICATE_DIRECTORY) return false;
  fields.checksumOffset = static_cast<uint32_t>(optionalAt + CHECKSUM_AT);
  fields.certificateEntryOffset = static_cast<uint32_t>(optionalAt + entryAt);
  fields.certificateTableOffset = read32(bytes + fields.certificateEntryOffset);
  fields.certificateTableSize = read32(bytes + fields.certificateEntryOffset + 4);
  return true;
}

int64_t appendedDataEnd(const SignatureFields *fields, int64_t imageEnd, int64_t fileSize) {
  if (fields == nullptr || fields->certificateTableOffset == 0) return fileSize;
  const int64_t table = fields->certificateTableOffset;
  // A table in front of the appended data or past the end is no signature of
  // this file; the appended program's own checks judge what follows.
  return table > imageEnd && table <= fileSize ? table : fileSize;
}
