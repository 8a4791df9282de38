// Round trips, the known vector, bad streams and the checksum of the
// portable codec; the optimal coder against an exhaustive search.
#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "codec/optimalImplode.h"
#include "codec/tokenCodes.h"
#include "chunkedStreams.h"
#include "sampleData.h"

#include <gtest/gtest.h>

#include <stdint.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(const std::string &text) { return Bytes(text.begin(), text.end()); }

unsigned explodeInChunks(const Bytes &stream, unsigned chunk, Bytes &expanded, char *work) {
  ChunkedStreams streams = streamsOver(stream, chunk);
  const unsigned result = dcl::explode(readChunk, writeAll, work, &streams);
  expanded = streams.output;
  return result;
}

using MemoryImplode = unsigned (*)(const uint8_t *, size_t, unsigned, unsigned, Bytes &);
const MemoryImplode BOTH_CODERS[] = {dcl::implodeBuffer, dcl::implodeOptimal};

Bytes implodeOrFail(const Bytes &data, unsigned type, unsigned dictSize,
                    MemoryImplode implode = dcl::implodeBuffer) {
  Bytes compressed;
  EXPECT_EQ(implode(data.data(), data.size(), type, dictSize, compressed), dcl::CMP_NO_ERROR);
  return compressed;
}

unsigned explode(const Bytes &stream, Bytes &expanded) {
  return dcl::explodeBuffer(stream.data(), stream.size(), expanded);
}

TEST(Explode, KnownVector) {
  const Bytes stream = {0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F};
  Bytes expanded;
  ASSERT_EQ(explode(stream, expanded), dcl::CMP_NO_ERROR);
  EXPECT_EQ(std::string(expanded.begin(), expanded.end()), "AIAIAIAIAIAIA");
}

TEST(Explode, ReadsAnyChunkSizeAndNeedsNothingAfterTheEndCode) {
  const Bytes stream = implodeOrFail(sample::text(20000), dcl::CMP_ASCII, 2048);
  std::vector<char> work(dcl::EXPLODE_WORK_SIZE);
  for (unsigned chunk : {1u, 2u, 3u, 7u, 2047u, 2048u, 2049u, 100000u}) {
    Bytes expanded;
    ChunkedStreams streams = streamsOver(stream, chunk);
    ASSERT_EQ(dcl::explode(readChunk, writeAll, work.data(), &streams), dcl::CMP_NO_ERROR) << chunk;
    EXPECT_EQ(streams.output, sample::text(20000)) << chunk;
    EXPECT_EQ(streams.position, stream.size()) << chunk;
  }
}

TEST(Explode, WorksInAnUnalignedWorkAreaOfTheExactSize) {
  const Bytes data = sample::executableLike(30000);
  const Bytes stream = implodeOrFail(data, dcl::CMP_BINARY, 4096);
  std::vector<char> storage(dcl::EXPLODE_WORK_SIZE + 1);
  Bytes expanded;
  ASSERT_EQ(explodeInChunks(stream, 1000, expanded, storage.data() + 1), dcl::CMP_NO_ERROR);
  EXPECT_EQ(expanded, data);
}

struct Corpus {
  const char *name;
  Bytes data;
};

std::vector<Corpus> roundTripCorpus() {
  std::vector<Corpus> corpus = {
      {"empty", {}},
      {"one byte", {0x41}},
      {"two bytes", {0x00, 0xFF}},
      {"run of 518", Bytes(518, 'x')},
      {"run of 519", Bytes(519, 0)},
      {"run of 70000", Bytes(70000, 0xE5)},
      {"text", sample::text(50000)},
      {"executable", sample::executableLike(60000)},
      {"random", sample::random(20000)},
  };
  // Sizes around the read block, the window halves and the lookahead.
  for (size_t size : {2047, 2048, 2049, 4095, 4096, 4097, 8191, 8192, 8193, 8709, 8710, 8711, 12289})
    corpus.push_back({"block edge", sample::text(size, static_cast<uint32_t>(size))});
  // Repeats farther apart than the smaller dictionaries reach.
  Bytes farRepeat = sample::random(3000, 9);
  const Bytes copy = farRepeat;
  farRepeat.insert(farRepeat.end(), copy.begin(), copy.end());
  corpus.push_back({"repeat at 3000", farRepeat});
  return corpus;
}

class RoundTrip : public ::testing::TestWithParam<std::tuple<unsigned, unsigned>> {};

TEST_P(RoundTrip, RestoresEveryInput) {
  const unsigned type = std::get<0>(GetParam());
  const unsigned dictSize = std::get<1>(GetParam());
  for (MemoryImplode implode : BOTH_CODERS) {
    for (const Corpus &item : roundTripCorpus()) {
      const Bytes compressed = implodeOrFail(item.data, type, dictSize, implode);
      ASSERT_GE(compressed.size(), 4u) << item.name;
      EXPECT_EQ(compressed[0], type) << item.name;
      EXPECT_EQ(1u << (compressed[1] + 6), dictSize) << item.name;
      Bytes expanded;
      ASSERT_EQ(explode(compressed, expanded), dcl::CMP_NO_ERROR) << item.name << " " << item.data.size();
      EXPECT_TRUE(expanded == item.data) << item.name << " " << item.data.size();
    }
  }
}

TEST_P(RoundTrip, CompressesRedundantData) {
  const unsigned type = std::get<0>(GetParam());
  const unsigned dictSize = std::get<1>(GetParam());
  EXPECT_LT(implodeOrFail(sample::text(50000), type, dictSize).size(), 50000u * 40 / 100);
  EXPECT_LT(implodeOrFail(sample::executableLike(50000), type, dictSize).size(), 50000u * 75 / 100);
  // A run costs a literal and at most three bytes per maximal match.
  EXPECT_LE(implodeOrFail(Bytes(70000, 0), type, dictSize).size(), (70000u / 518 + 1) * 3 + 6);
  // Incompressible data grows by little more than the literal flags.
  EXPECT_LT(implodeOrFail(sample::random(20000), type, dictSize).size(), 20000u * 14 / 8);
}

INSTANTIATE_TEST_SUITE_P(ModesAndDictionaries, RoundTrip,
                         ::testing::Combine(::testing::Values(dcl::CMP_BINARY, dcl::CMP_ASCII),
                                            ::testing::Values(1024u, 2048u, 4096u)));

TEST(Implode, ReadsAnyChunkSize) {
  const Bytes data = sample::executableLike(25000);
  const Bytes reference = implodeOrFail(data, dcl::CMP_BINARY, 2048);
  std::vector<char> work(dcl::IMPLODE_WORK_SIZE);
  for (unsigned chunk : {1u, 5u, 4096u, 9000u}) {
    ChunkedStreams streams = streamsOver(data, chunk);
    unsigned type = dcl::CMP_BINARY, dictSize = 2048;
    ASSERT_EQ(dcl::implode(readChunk, writeAll, work.data(), &streams, &type, &dictSize),
              dcl::CMP_NO_ERROR);
    Bytes expanded;
    ASSERT_EQ(explode(streams.output, expanded), dcl::CMP_NO_ERROR) << chunk;
    EXPECT_EQ(expanded, data) << chunk;
  }
}

// The input is read in blocks of a megabyte and slid along: past the first
// block, at any read size, the stream is the one made from the whole buffer.
TEST(OptimalImplode, StreamedInputGivesTheWholeBuffersStream) {
  Bytes data = sample::executableLike(700000);
  const Bytes text = sample::text(500000);
  data.insert(data.end(), text.begin(), text.end());
  const Bytes reference = implodeOrFail(data, dcl::CMP_BINARY, 4096, dcl::implodeOptimal);
  for (unsigned chunk : {777u, 1u << 21}) {
    ChunkedStreams streams = streamsOver(data, chunk);
    ASSERT_EQ(dcl::implodeOptimalStream(readChunk, writeAll, &streams, dcl::CMP_BINARY, 4096),
              dcl::CMP_NO_ERROR);
    EXPECT_TRUE(streams.output == reference) << chunk;
  }
}

TEST(Implode, RejectsBadParameters) {
  for (MemoryImplode implode : BOTH_CODERS) {
    Bytes out;
    const Bytes data = bytesOf("abc");
    for (unsigned dictSize : {0u, 512u, 1000u, 8192u})
      EXPECT_EQ(implode(data.data(), data.size(), dcl::CMP_BINARY, dictSize, out),
                dcl::CMP_INVALID_DICTSIZE);
    EXPECT_EQ(implode(data.data(), data.size(), 2, 4096, out), dcl::CMP_INVALID_MODE);
    EXPECT_TRUE(out.empty());
  }
}

// The size of the shortest stream, by trying every distance for every
// length at every position.
size_t shortestStreamSize(const Bytes &data, bool ascii, unsigned dictSize) {
  const unsigned dictionaryBits = dcl::dictionaryBitsOf(dictSize);
  std::vector<uint64_t> bits(data.size() + 1, UINT64_MAX);
  bits[0] = 0;
  for (size_t p = 0; p < data.size(); ++p) {
    bits[p + 1] = std::min(bits[p + 1], bits[p] + dcl::literalCost(data[p], ascii));
    const size_t maxLength = std::min<size_t>(dcl::MAX_MATCH, data.size() - p);
    for (size_t distance = 1, reached = 1; distance <= std::min<size_t>(p, dictSize); ++distance) {
      size_t length = 0;
      while (length < maxLength && data[p - distance + length] == data[p + length]) ++length;
      for (; reached < length; ++reached) {
        if (reached + 1 == dcl::MIN_MATCH && distance > dcl::MAX_DISTANCE_FOR_LENGTH_2) continue;
        const uint64_t cost = bits[p] + dcl::copyCost(static_cast<unsigned>(reached + 1),
                                                      static_cast<unsigned>(distance), dictionaryBits);
        bits[p + reached + 1] = std::min(bits[p + reached + 1], cost);
      }
    }
  }
  return 2 + (bits[data.size()] + dcl::copyToken(dcl::END_OF_STREAM, 0, dictionaryBits).count + 7) / 8;
}

TEST(OptimalImplode, WritesTheShortestStream) {
  Bytes runs = sample::executableLike(1500, 7);
  runs.insert(runs.end(), 900, 0);
  runs.insert(runs.end(), runs.begin() + 100, runs.begin() + 1700);
  // Runs of one byte ending in different bytes: the ends of the older runs
  // lie in a chain the searches from a newer run's end go along.
  Bytes runEnds;
  for (unsigned run = 0; run < 8; ++run) {
    runEnds.insert(runEnds.end(), 60 + 17 * (run % 5), 0);
    runEnds.push_back(static_cast<uint8_t>("aXbYaZb!"[run]));
    runEnds.push_back(static_cast<uint8_t>(run));
  }
  for (const Bytes &data :
       {sample::text(2500, 5), sample::executableLike(3000, 6), runs, runEnds, sample::random(400, 8)})
    for (unsigned type : {dcl::CMP_BINARY, dcl::CMP_ASCII})
      for (unsigned dictSize : {1024u, 4096u}) {
        const Bytes optimal = implodeOrFail(data, type, dictSize, dcl::implodeOptimal);
        EXPECT_EQ(optimal.size(), shortestStreamSize(data, type == dcl::CMP_ASCII, dictSize))
            << data.size() << " " << type << " " << dictSize;
        EXPECT_LE(optimal.size(), implodeOrFail(data, type, dictSize).size());
      }
}

TEST(ExplodeBadData, TruncatedStreamsAtEveryLength) {
  for (unsigned type : {dcl::CMP_BINARY, dcl::CMP_ASCII}) {
    const Bytes data = sample::text(3000);
    const Bytes stream = implodeOrFail(data, type, 1024);
    for (size_t length = 0; length < stream.size(); ++length) {
      Bytes expanded;
      const Bytes cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(length));
      ASSERT_EQ(explode(cut, expanded), dcl::CMP_BAD_DATA) << "type " << type << " length " << length;
      // What came out before the cut is a correct prefix.
      ASSERT_LE(expanded.size(), data.size());
      EXPECT_TRUE(std::equal(expanded.begin(), expanded.end(), data.begin()));
    }
  }
}

TEST(ExplodeBadData, StreamsWithoutEndCode) {
  Bytes expanded;
  // Eight binary literals fill nine bytes exactly; then the input ends.
  const Bytes eightLiterals = {0x00, 0x04, 0x82, 0x04, 0x09, 0x12, 0x24, 0x48, 0x90, 0x20, 0x41};
  EXPECT_EQ(explode(eightLiterals, expanded), dcl::CMP_BAD_DATA);
  EXPECT_EQ(std::string(expanded.begin(), expanded.end()), "AAAAAAAA");
  // One literal, then padding that starts a literal the input cannot finish.
  EXPECT_EQ(explode({0x00, 0x04, 0x82, 0x00}, expanded), dcl::CMP_BAD_DATA);
  EXPECT_EQ(std::string(expanded.begin(), expanded.end()), "A");
}

TEST(ExplodeBadData, DistanceBeforeTheStartOfTheOutput) {
  Bytes expanded;
  // A match of length 3 at distance 1 as the first token.
  EXPECT_EQ(explode({0x00, 0x04, 0x07, 0x00, 0x00}, expanded), dcl::CMP_BAD_DATA);
  // The known vector with the distance raised from 2 to 3, one byte short.
  EXPECT_EQ(explode({0x00, 0x04, 0x82, 0x24, 0x25, 0x97, 0x80, 0x7F}, expanded), dcl::CMP_BAD_DATA);
  EXPECT_EQ(std::string(expanded.begin(), expanded.end()), "AI");
}

TEST(ExplodeBadData, BadHeaderBytes) {
  Bytes expanded;
  for (const Bytes &stream : {Bytes{}, Bytes{0x00}, Bytes{0x02, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F},
                              Bytes{0x00, 0x03, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F},
                              Bytes{0x00, 0x07, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F}})
    EXPECT_EQ(explode(stream, expanded), dcl::CMP_BAD_DATA) << stream.size();
}

TEST(ExplodeBadData, Garbage) {
  Bytes expanded;
  EXPECT_EQ(explode(bytesOf("This is not an imploded stream at all."), expanded), dcl::CMP_BAD_DATA);
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    Bytes stream = sample::random(64 + seed * 37, seed);
    stream[0] = static_cast<uint8_t>(seed & 1);
    stream[1] = static_cast<uint8_t>(4 + seed % 3);
    const unsigned result = explode(stream, expanded);
    // A random stream may hit the end code by chance; it must never
    // produce more than the stream could describe.
    EXPECT_TRUE(result == dcl::CMP_BAD_DATA || result == dcl::CMP_NO_ERROR) << seed;
    EXPECT_LE(expanded.size(), stream.size() * 8 / 2 * 518);
  }
}

TEST(Crc32, MatchesTheStandardCheckValueWhenSeededAndComplemented) {
  const std::string text = "123456789";
  unsigned size = static_cast<unsigned>(text.size());
  const unsigned long seed = 0xFFFFFFFFul;
  EXPECT_EQ(~dcl::crc32(text.data(), &size, &seed) & 0xFFFFFFFFul, 0xCBF43926ul);
}

TEST(Crc32, ChainsOverPiecesAndLeavesEmptyInputUnchanged) {
  const Bytes data = sample::random(1000);
  const char *bytes = reinterpret_cast<const char *>(data.data());
  unsigned whole = 1000, first = 333, second = 667, none = 0;
  const unsigned long seed = 0xFFFFFFFFul;
  const unsigned long partial = dcl::crc32(bytes, &first, &seed);
  EXPECT_EQ(dcl::crc32(bytes + 333, &second, &partial), dcl::crc32(bytes, &whole, &seed));
  const unsigned long value = 0x12345678ul;
  EXPECT_EQ(dcl::crc32(bytes, &none, &value), value);
  EXPECT_EQ(dcl::crc32(nullptr, &none, &value), value) << "no bytes, whatever the pointer";
}

}  // namespace
