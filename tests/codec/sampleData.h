// Deterministic sample inputs for the codec tests, fuzz seeds and benchmark.
#ifndef SAVER_TESTS_CODEC_SAMPLE_DATA_H
#define SAVER_TESTS_CODEC_SAMPLE_DATA_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace sample {

// English-like text with line breaks.
std::vector<uint8_t> text(size_t size, uint32_t seed = 1);
// Record tables, small integers and repeated instruction-like byte groups,
// as in program files.
std::vector<uint8_t> executableLike(size_t size, uint32_t seed = 2);
// Incompressible bytes.
std::vector<uint8_t> random(size_t size, uint32_t seed = 3);

}  // namespace sample

#endif
