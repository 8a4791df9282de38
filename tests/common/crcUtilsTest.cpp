#include "common/crcUtils.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

namespace {

uint32_t crcOf(const std::string &text) {
  uint32_t crc = 0xDEADBEEF;
  EXPECT_TRUE(Crc32OfString(text, crc));
  return crc;
}

TEST(Crc32OfString, KnownValues) {
  EXPECT_EQ(crcOf("123456789"), 0xCBF43926u);
  EXPECT_EQ(crcOf(""), 0u);
  EXPECT_EQ(crcOf("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
}

// zlib computes the same standard CRC-32; 8-bit characters and embedded
// zeros must count like any other byte.
TEST(Crc32OfString, AgreesWithZlibOnEveryByteValue) {
  std::string text;
  for (int repeat = 0; repeat < 3; repeat++)
    for (int byte = 255; byte >= 0; byte--) text += static_cast<char>(byte);
  for (size_t length : {size_t(1), size_t(7), size_t(256), text.size()}) {
    const std::string part = text.substr(text.size() - length);
    const uLong expected =
        crc32(0L, reinterpret_cast<const Bytef *>(part.data()), static_cast<uInt>(part.size()));
    EXPECT_EQ(crcOf(part), static_cast<uint32_t>(expected)) << "length " << length;
  }
}

TEST(CrcTableSelfCheck, AcceptsTheStandardTableOnly) {
  uint32_t table[256];
  std::memcpy(table, get_crc_table(), sizeof table);
  EXPECT_EQ(crc32OfTable(table), CRC_TABLE_CHECK_VALUE);
  table[200] ^= 0x00010000;
  EXPECT_NE(crc32OfTable(table), CRC_TABLE_CHECK_VALUE);
}

TEST(CrcTableSelfCheck, MismatchTextShowsEightUpperCaseHexDigits) {
  EXPECT_EQ(crcTableMismatchText(0x1234ABCD), "CRC32 Table CRC32 is 1234ABCD, expecting $6FCF9E13");
  EXPECT_EQ(crcTableMismatchText(0xF), "CRC32 Table CRC32 is 0000000F, expecting $6FCF9E13");
}

}  // namespace
