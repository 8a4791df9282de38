// Whole-buffer face of the codec, for tools and tests.
#ifndef SAVER_CODEC_MEMORY_CODEC_H
#define SAVER_CODEC_MEMORY_CODEC_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace dcl {

// Compresses data; returns the codec's result.
unsigned implodeBuffer(const uint8_t *data, size_t size, unsigned type, unsigned dictSize,
                       std::vector<uint8_t> &compressed);

// The same in the shortest stream the format's fixed codes allow: an exact
// shortest-path parse, a few times slower, with memory of its own.
unsigned implodeOptimal(const uint8_t *data, size_t size, unsigned type, unsigned dictSize,
                        std::vector<uint8_t> &compressed);

// Expands stream; expanded gets everything decoded, even from a bad stream.
unsigned explodeBuffer(const uint8_t *stream, size_t size, std::vector<uint8_t> &expanded);

}  // namespace dcl

#endif
