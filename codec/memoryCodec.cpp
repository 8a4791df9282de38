#include "codec/memoryCodec.h"

#include "codec/dcl.h"

#include <string.h>

namespace dcl {
namespace {

struct MemoryStreams {
  const uint8_t *input;
  size_t remaining;
  std::vector<uint8_t> *output;
};

unsigned readFromMemory(char *buf, unsigned *size, void *param) {
  MemoryStreams &streams = *static_cast<MemoryStreams *>(param);
  const size_t count = streams.remaining < *size ? streams.remaining : *size;
  if (count != 0) memcpy(buf, streams.input, count);
  streams.input += count;
  streams.remaining -= count;
  return static_cast<unsigned>(count);
}

void writeToMemory(char *buf, unsigned *size, void *param) {
  std::vector<uint8_t> &output = *static_cast<MemoryStreams *>(param)->output;
  output.insert(output.end(), buf, buf + *size);
}

}  // namespace

unsigned implodeBuffer(const uint8_t *data, size_t size, unsigned type, unsigned dictSize,
                       std::vector<uint8_t> &compressed) {
  std::vector<char> work(IMPLODE_WORK_SIZE);
  MemoryStreams streams = {data, size, &compressed};
  compressed.clear();
  return implode(readFromMemory, writeToMemory, work.data(), &streams, &type, &dictSize);
}

unsigned explodeBuffer(const uint8_t *stream, size_t size, std::vector<uint8_t> &expanded) {
  std::vector<char> work(EXPLODE_WORK_SIZE);
  MemoryStreams streams = {stream, size, &expanded};
  expanded.clear();
  return explode(readFromMemory, writeToMemory, work.data(), &streams);
}

}  // namespace dcl
