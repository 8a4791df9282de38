// Where a program file keeps what an Authenticode signature changes: the
// header checksum, the certificate-table entry (data directory 4) and the
// certificate table itself, which lies at the end of the file. The signature's
// hash leaves out exactly these, and so do the integrity checks of this
// system, so that signing a file never makes it look damaged.
#ifndef SAVER_COMMON_SIGNATURE_FIELDS_H
#define SAVER_COMMON_SIGNATURE_FIELDS_H

#include <stddef.h>
#include <stdint.h>

// How many leading bytes of a file readSignatureFields needs at most to find
// the fields of any program this system builds.
const size_t SIGNATURE_HEADER_BYTES = 4096;
const size_t CHECKSUM_FIELD_SIZE = 4;
const size_t CERTIFICATE_ENTRY_SIZE = 8;

struct SignatureFields {
  uint32_t checksumOffset = 0;          // file offset of the optional header's CheckSum
  uint32_t certificateEntryOffset = 0;  // file offset of data directory 4
  uint32_t certificateTableOffset = 0;  // as the entry says; 0 when unsigned
  uint32_t certificateTableSize = 0;
};

// Reads the fields from the first count bytes of a file. False when the
// bytes hold no PE header with a certificate entry, or when a field would lie
// beyond them; nothing is read out of bounds.
bool readSignatureFields(const uint8_t *bytes, size_t count, SignatureFields &fields);

// Where the data appended behind a program image ends in a file of fileSize
// bytes: at the certificate table when the file is signed and the table lies
// behind imageEnd, else at the end of the file.
int64_t appendedDataEnd(const SignatureFields *fields, int64_t imageEnd, int64_t fileSize);

#endif
