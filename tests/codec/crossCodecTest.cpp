// Our streams, from the greedy and the optimal coder, against independent
// decoders and encoders: StormLib both ways, and the dynamite command for
// binary-mode streams.
#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "chunkedStreams.h"
#include "sampleData.h"
#include "stormLib.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes stormImplode(const Bytes &data, unsigned type, unsigned dictSize) {
  std::vector<char> work(STORM_WORK_SIZE);
  ChunkedStreams streams = streamsOver(data);
  EXPECT_EQ(::implode(readChunk, writeAll, work.data(), &streams, &type, &dictSize), 0u);
  return streams.output;
}

unsigned stormExplode(const Bytes &stream, Bytes &expanded) {
  std::vector<char> work(STORM_WORK_SIZE);
  ChunkedStreams streams = streamsOver(stream);
  const unsigned result = ::explode(readChunk, writeAll, work.data(), &streams);
  expanded = streams.output;
  return result;
}

std::vector<Bytes> crossCorpus() {
  Bytes allBytes;
  for (unsigned round = 0; round < 3; ++round)
    for (unsigned value = 0; value < 256; ++value) allBytes.push_back(static_cast<uint8_t>(value));
  return {
      Bytes{'x'},          Bytes(1037, 'r'), allBytes, sample::text(70000), sample::executableLike(70000),
      sample::random(9000)};
}

using MemoryImplode = unsigned (*)(const uint8_t *, size_t, unsigned, unsigned, Bytes &);
const MemoryImplode OUR_CODERS[] = {dcl::implodeBuffer, dcl::implodeOptimal};

class CrossDecoding : public ::testing::TestWithParam<std::tuple<unsigned, unsigned>> {};

TEST_P(CrossDecoding, StormLibExpandsOurStreams) {
  const unsigned type = std::get<0>(GetParam()), dictSize = std::get<1>(GetParam());
  for (MemoryImplode implode : OUR_CODERS) {
    for (const Bytes &data : crossCorpus()) {
      Bytes compressed, expanded;
      ASSERT_EQ(implode(data.data(), data.size(), type, dictSize, compressed), dcl::CMP_NO_ERROR);
      ASSERT_EQ(stormExplode(compressed, expanded), 0u) << data.size();
      EXPECT_TRUE(expanded == data) << data.size();
    }
  }
}

TEST_P(CrossDecoding, WeExpandStormLibStreams) {
  const unsigned type = std::get<0>(GetParam()), dictSize = std::get<1>(GetParam());
  for (const Bytes &data : crossCorpus()) {
    const Bytes compressed = stormImplode(data, type, dictSize);
    Bytes expanded;
    ASSERT_EQ(dcl::explodeBuffer(compressed.data(), compressed.size(), expanded), dcl::CMP_NO_ERROR)
        << data.size();
    EXPECT_TRUE(expanded == data) << data.size();
  }
}

TEST_P(CrossDecoding, OurStreamsAreNoLargerThanStormLibs) {
  const unsigned type = std::get<0>(GetParam()), dictSize = std::get<1>(GetParam());
  for (const Bytes &data : crossCorpus()) {
    Bytes greedy, optimal;
    ASSERT_EQ(dcl::implodeBuffer(data.data(), data.size(), type, dictSize, greedy), dcl::CMP_NO_ERROR);
    ASSERT_EQ(dcl::implodeOptimal(data.data(), data.size(), type, dictSize, optimal), dcl::CMP_NO_ERROR);
    EXPECT_LE(greedy.size(), stormImplode(data, type, dictSize).size()) << data.size();
    EXPECT_LE(optimal.size(), greedy.size()) << data.size();
  }
}

INSTANTIATE_TEST_SUITE_P(ModesAndDictionaries, CrossDecoding,
                         ::testing::Combine(::testing::Values(dcl::CMP_BINARY, dcl::CMP_ASCII),
                                            ::testing::Values(1024u, 2048u, 4096u)));

Bytes readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// dynamite loops forever on some bad streams, so it runs bounded in time and
// output size even here.
TEST(CrossDecodingDynamite, ExpandsOurBinaryStreams) {
  char folder[] = "/tmp/codec-dynamite-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string input = std::string(folder) + "/in.imp", output = std::string(folder) + "/out";
  for (unsigned dictSize : {1024u, 2048u, 4096u}) {
    for (const Bytes &data : crossCorpus()) {
      for (MemoryImplode implode : OUR_CODERS) {
        Bytes compressed;
        ASSERT_EQ(implode(data.data(), data.size(), dcl::CMP_BINARY, dictSize, compressed), 0u);
        std::ofstream(input, std::ios::binary)
            .write(reinterpret_cast<const char *>(compressed.data()),
                   static_cast<std::streamsize>(compressed.size()));
        std::string command = "ulimit -f 4096; timeout 20 dynamite ";
        command.append(input).append(" ").append(output).append(" >/dev/null 2>&1");
        ASSERT_EQ(system(command.c_str()), 0) << data.size();
        EXPECT_TRUE(readFile(output) == data) << data.size();
      }
    }
  }
  unlink(input.c_str());
  unlink(output.c_str());
  rmdir(folder);
}

}  // namespace
