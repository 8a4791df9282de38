// The CRC-32 the packages carry, folded or not, against zlib's for every
// length up to a few blocks, every alignment, and on from any earlier result.
#include "package/crc32Folding.h"
#include "package/integrityRecord.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

namespace {

uint32_t zlibCrc(uint32_t crc, const uint8_t *bytes, size_t count) {
  return static_cast<uint32_t>(::crc32(crc, bytes, static_cast<uInt>(count)));
}

std::vector<uint8_t> randomBytes(size_t count) {
  std::mt19937 random(20261211);
  std::vector<uint8_t> bytes(count);
  for (uint8_t &byte : bytes) byte = static_cast<uint8_t>(random());
  return bytes;
}

}  // namespace

TEST(Crc32, EveryLengthAndAlignmentGivesZlibsResult) {
  const std::vector<uint8_t> bytes = randomBytes(4096);
  for (const uint32_t before : {0u, 0xFFFFFFFFu, 0x12345678u})
    for (size_t offset = 0; offset < 16; ++offset)
      for (size_t count = 0; count <= 400; ++count)
        ASSERT_EQ(zlibCrc(before, bytes.data() + offset, count),
                  crc32Update(before, bytes.data() + offset, count))
            << before << " " << offset << " " << count;
}

TEST(Crc32, ALongRunInPiecesIsTheRunWhole) {
  const std::vector<uint8_t> bytes = randomBytes(3 << 20);
  const uint32_t whole = zlibCrc(0, bytes.data(), bytes.size());
  EXPECT_EQ(whole, crc32Of(bytes.data(), bytes.size()));
  uint32_t pieces = 0;
  for (size_t at = 0, piece = 1; at < bytes.size(); at += piece, piece = piece * 3 + 7)
    pieces = crc32Update(pieces, bytes.data() + at, std::min(piece, bytes.size() - at));
  EXPECT_EQ(whole, pieces);
}

// Where the processor folds, folding takes whole blocks and no more.
TEST(Crc32, FoldingTakesWholeBlocksOfAtLeastSixtyFour) {
  const std::vector<uint8_t> bytes = randomBytes(1000);
  uint32_t crc = 7;
  EXPECT_EQ(0u, crc32FoldBlocks(crc, bytes.data(), 63));
  EXPECT_EQ(7u, crc);
  const size_t taken = crc32FoldBlocks(crc, bytes.data(), 1000);
  if (taken == 0) GTEST_SKIP() << "this processor does not fold";
  EXPECT_EQ(992u, taken);
  EXPECT_EQ(zlibCrc(7, bytes.data(), 992), crc);
}
