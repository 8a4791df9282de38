// Implode then explode must give back the input, in the mode and
// dictionary size the first byte picks, with the reader chunk size the
// second byte picks; so must the optimal coder, and its stream may be no
// longer than the greedy one's.
#include "chunkedStreams.h"
#include "codec/dcl.h"
#include "codec/memoryCodec.h"

#include <stdlib.h>

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2) return 0;
  unsigned type = data[0] & 1;
  unsigned dictSize = 1024u << (data[0] >> 1) % 3;
  const unsigned chunk = 1 + data[1];
  const std::vector<uint8_t> input(data + 2, data + size);

  std::vector<char> implodeWork(dcl::IMPLODE_WORK_SIZE), explodeWork(dcl::EXPLODE_WORK_SIZE);
  ChunkedStreams compress = streamsOver(input, chunk);
  if (dcl::implode(readChunk, writeAll, implodeWork.data(), &compress, &type, &dictSize) !=
      dcl::CMP_NO_ERROR)
    abort();
  ChunkedStreams expand = streamsOver(compress.output, chunk);
  if (dcl::explode(readChunk, writeAll, explodeWork.data(), &expand) != dcl::CMP_NO_ERROR) abort();
  if (expand.output != input) abort();

  std::vector<uint8_t> optimal;
  if (dcl::implodeOptimal(input.data(), input.size(), type, dictSize, optimal) != dcl::CMP_NO_ERROR)
    abort();
  if (optimal.size() > compress.output.size()) abort();
  ChunkedStreams expandOptimal = streamsOver(optimal, chunk);
  if (dcl::explode(readChunk, writeAll, explodeWork.data(), &expandOptimal) != dcl::CMP_NO_ERROR) abort();
  if (expandOptimal.output != input) abort();
  return 0;
}
