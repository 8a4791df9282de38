// The proof that a block cannot shrink must never claim so for a block that
// one of the coders does shrink, and must hold for random data.
#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "packFixture.h"
#include "tools/saverpack/implodeFloor.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Random bytes where one byte in every `every` starts a copy of 3 to 9
// bytes from up to 300 back: from barely shrinking to not shrinking at all.
std::vector<uint8_t> randomWithRepeats(size_t size, unsigned every, uint32_t seed) {
  std::vector<uint8_t> bytes = randomBytes(size, seed);
  std::mt19937 random(seed);
  for (size_t at = 400; every != 0 && at + 9 < size; at += every) {
    const size_t length = 3 + random() % 7, distance = 1 + random() % 300;
    for (size_t i = 0; i < length; ++i) bytes[at + i] = bytes[at + i - distance];
  }
  return bytes;
}

size_t implodedSize(const std::vector<uint8_t> &bytes, bool fast) {
  std::vector<uint8_t> stream;
  (fast ? dcl::implodeBuffer : dcl::implodeOptimal)(bytes.data(), bytes.size(), dcl::CMP_BINARY, 4096,
                                                    stream);
  return stream.size();
}

TEST(ImplodeFloor, ClaimsNoShrinkOnlyWhereNoCoderShrinks) {
  unsigned claimed = 0;
  for (unsigned every : {0u, 400u, 200u, 100u, 40u, 20u}) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
      const std::vector<uint8_t> block = randomWithRepeats(16 << 10, every, seed);
      if (!implodeCannotShrink(block.data(), block.size(), 4096)) continue;
      ++claimed;
      EXPECT_GE(implodedSize(block, false), block.size()) << "every " << every << " seed " << seed;
      EXPECT_GE(implodedSize(block, true), block.size()) << "every " << every << " seed " << seed;
    }
  }
  EXPECT_GE(claimed, 9u);  // the random blocks, and those with a copy every 200 bytes or fewer
}

TEST(ImplodeFloor, TellsRandomFromCompressibleBlocks) {
  const std::vector<uint8_t> random = randomBytes(16 << 10, 7), text = compressibleBytes(16 << 10);
  const std::vector<uint8_t> zeros(16 << 10, 0);
  EXPECT_TRUE(implodeCannotShrink(random.data(), random.size(), 4096));
  EXPECT_FALSE(implodeCannotShrink(text.data(), text.size(), 4096));
  EXPECT_FALSE(implodeCannotShrink(zeros.data(), zeros.size(), 4096));
  EXPECT_FALSE(implodeCannotShrink(random.data(), random.size(), 3000));  // no such dictionary
}

}  // namespace
