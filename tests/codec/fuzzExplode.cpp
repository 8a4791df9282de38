// Explode on arbitrary streams. The first byte sets how many bytes the
// reader hands out per call; the result must not depend on it.
#include "chunkedStreams.h"
#include "codec/dcl.h"

#include <stdlib.h>

#include <vector>

namespace {

unsigned explodeInChunks(const std::vector<uint8_t> &stream, unsigned chunk, std::vector<uint8_t> &output) {
  std::vector<char> work(dcl::EXPLODE_WORK_SIZE);
  ChunkedStreams io = streamsOver(stream, chunk);
  const unsigned result = dcl::explode(readChunk, writeAll, work.data(), &io);
  output.swap(io.output);
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  const unsigned chunk = 1 + data[0] % 97;
  const std::vector<uint8_t> stream(data + 1, data + size);
  std::vector<uint8_t> inChunks, whole;
  const unsigned result = explodeInChunks(stream, chunk, inChunks);
  if (result != dcl::CMP_NO_ERROR && result != dcl::CMP_BAD_DATA) abort();
  if (explodeInChunks(stream, 0xFFFFFFFFu, whole) != result || whole != inChunks) abort();
  return 0;
}
