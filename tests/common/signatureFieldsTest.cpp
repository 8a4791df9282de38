// Finding the fields a signature changes, in headers cut short or made to
// point anywhere, and where the data appended to a signed file ends.
#include "common/signatureFields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

void put32(std::vector<uint8_t> &bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

// A PE32 header at 0x80 with 16 directories; the certificate entry at 0x118.
std::vector<uint8_t> peHeader(uint16_t magic = 0x10b) {
  std::vector<uint8_t> bytes(0x200, 0);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  put32(bytes, 0x3c, 0x80);
  std::memcpy(&bytes[0x80], "PE\0\0", 4);
  const size_t optional = 0x98;
  bytes[0x80 + 4 + 16] = magic == 0x10b ? 224 : 240;  // SizeOfOptionalHeader
  bytes[optional] = static_cast<uint8_t>(magic);
  bytes[optional + 1] = static_cast<uint8_t>(magic >> 8);
  put32(bytes, optional + (magic == 0x10b ? 92 : 108), 16);
  return bytes;
}

}  // namespace

TEST(SignatureFields, HeadersOfEveryShape) {
  struct Case {
    const char *what;
    std::vector<uint8_t> bytes;
    bool found;
    uint32_t checksumAt, entryAt;
  };
  std::vector<uint8_t> signedPe = peHeader();
  put32(signedPe, 0x118, 0x1000);
  put32(signedPe, 0x11c, 0x208);
  std::vector<uint8_t> fewDirectories = peHeader();
  put32(fewDirectories, 0x98 + 92, 4);
  std::vector<uint8_t> shortOptional = peHeader();
  shortOptional[0x94] = 0x80;
  std::vector<uint8_t> farPointer = peHeader();
  put32(farPointer, 0x3c, 0xFFFFFFF0);
  std::vector<uint8_t> noSignature = peHeader();
  noSignature[0x81] = 'X';
  std::vector<uint8_t> otherMagic = peHeader();
  otherMagic[0x98] = 0x07;
  const Case cases[] = {
      {"PE32", peHeader(), true, 0xd8, 0x118},
      {"PE32+", peHeader(0x20b), true, 0xd8, 0x128},
      {"signed PE32", signedPe, true, 0xd8, 0x118},
      {"cut inside the certificate entry", std::vector<uint8_t>(signedPe.begin(), signedPe.begin() + 0x11f),
       false, 0, 0},
      {"cut behind the entry", std::vector<uint8_t>(signedPe.begin(), signedPe.begin() + 0x120), true, 0xd8,
       0x118},
      {"cut inside the DOS header", std::vector<uint8_t>(signedPe.begin(), signedPe.begin() + 63), false, 0,
       0},
      {"four directories only", fewDirectories, false, 0, 0},
      {"optional header too short for the entry", shortOptional, false, 0, 0},
      {"header pointer near 4 GiB", farPointer, false, 0, 0},
      {"no PE signature", noSignature, false, 0, 0},
      {"unknown optional header", otherMagic, false, 0, 0},
      {"no MZ", std::vector<uint8_t>(0x200, 0), false, 0, 0},
  };
  for (const Case &c : cases) {
    SignatureFields fields;
    EXPECT_EQ(c.found, readSignatureFields(c.bytes.data(), c.bytes.size(), fields)) << c.what;
    EXPECT_EQ(c.checksumAt, fields.checksumOffset) << c.what;
    EXPECT_EQ(c.entryAt, fields.certificateEntryOffset) << c.what;
  }
  SignatureFields fields;
  ASSERT_TRUE(readSignatureFields(signedPe.data(), signedPe.size(), fields));
  EXPECT_EQ(0x1000u, fields.certificateTableOffset);
  EXPECT_EQ(0x208u, fields.certificateTableSize);
}

TEST(SignatureFields, AppendedDataEndsAtTheCertificateTable) {
  struct Case {
    uint32_t table;
    int64_t end;
  };
  // An image of 100 bytes in a file of 1000.
  const Case cases[] = {{0, 1000},   {600, 600}, {1000, 1000}, {1001, 1000},
                        {100, 1000}, {50, 1000}, {101, 101}};
  for (const Case &c : cases) {
    SignatureFields fields;
    fields.certificateTableOffset = c.table;
    EXPECT_EQ(c.end, appendedDataEnd(&fields, 100, 1000)) << c.table;
  }
  EXPECT_EQ(1000, appendedDataEnd(nullptr, 100, 1000));
}
