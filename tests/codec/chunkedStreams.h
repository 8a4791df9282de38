// Memory streams for the codec callbacks: the reader hands out at most
// chunk bytes per call, the writer collects everything.
#ifndef SAVER_TESTS_CODEC_CHUNKED_STREAMS_H
#define SAVER_TESTS_CODEC_CHUNKED_STREAMS_H

#include <stdint.h>
#include <string.h>

#include <vector>

struct ChunkedStreams {
  const std::vector<uint8_t> *input;
  size_t position;
  unsigned chunk;
  std::vector<uint8_t> output;
};

inline ChunkedStreams streamsOver(const std::vector<uint8_t> &input, unsigned chunk = 0xFFFFFFFFu) {
  return ChunkedStreams{&input, 0, chunk, {}};
}

inline unsigned readChunk(char *buf, unsigned *size, void *param) {
  ChunkedStreams &streams = *static_cast<ChunkedStreams *>(param);
  size_t count = streams.input->size() - streams.position;
  if (count > *size) count = *size;
  if (count > streams.chunk) count = streams.chunk;
  if (count != 0) memcpy(buf, streams.input->data() + streams.position, count);
  streams.position += count;
  return static_cast<unsigned>(count);
}

inline void writeAll(char *buf, unsigned *size, void *param) {
  std::vector<uint8_t> &output = static_cast<ChunkedStreams *>(param)->output;
  output.insert(output.end(), buf, buf + *size);
}

#endif
