#include "package/crc32Folding.h"

#if defined(__i386__) || defined(__x86_64__)

#include <cpuid.h>
#include <immintrin.h>

// The vectors stay inside the functions that have the instructions, passed by
// reference: the programs themselves are built for processors without them.
#define SAVER_FOLDING __attribute__((target("pclmul,sse4.1")))

namespace {

const size_t FOLD_MIN_BYTES = 64;

bool processorFolds() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return false;
  return (ecx & bit_PCLMUL) != 0 && (ecx & bit_SSE4_1) != 0;
}

// Asked once, before the program runs: a guarded local would bring in the
// runtime's locking, which the programs do not otherwise carry.
const bool PROCESSOR_FOLDS = processorFolds();

// The constants of the bit-reflected polynomial 0xEDB88320: x^(4*128+32),
// x^(4*128-32) (fold by 64 bytes), x^(128+32), x^(128-32) (by 16 bytes),
// x^64 (128 to 64 bits), and the polynomial with its Barrett quotient.
alignas(16) const uint64_t FOLD_BY_64[2] = {0x0154442bd4, 0x01c6e41596};
alignas(16) const uint64_t FOLD_BY_16[2] = {0x01751997d0, 0x00ccaa009e};
alignas(16) const uint64_t FOLD_TO_64[2] = {0x0163cd6124, 0};
alignas(16) const uint64_t BARRETT[2] = {0x01db710641, 0x01f7011641};

SAVER_FOLDING inline __m128i loaded(const uint8_t *at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
}

// Folds remainder over the distance the constants stand for onto next.
SAVER_FOLDING inline void foldOnto(__m128i &remainder, const __m128i &constants, const __m128i &next) {
  const __m128i low = _mm_clmulepi64_si128(remainder, constants, 0x00);
  const __m128i high = _mm_clmulepi64_si128(remainder, constants, 0x11);
  remainder = _mm_xor_si128(_mm_xor_si128(high, low), next);
}

// The 128-bit remainder reduced to 64 bits, then by Barrett to the CRC.
SAVER_FOLDING inline uint32_t reduced(const __m128i &remainder) {
  const __m128i low32 = _mm_setr_epi32(~0, 0, ~0, 0);
  const __m128i by16 = _mm_load_si128(reinterpret_cast<const __m128i *>(FOLD_BY_16));
  __m128i x = _mm_xor_si128(_mm_srli_si128(remainder, 8), _mm_clmulepi64_si128(remainder, by16, 0x10));
  const __m128i to64 = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(FOLD_TO_64));
  x = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32), to64, 0x00), _mm_srli_si128(x, 4));
  const __m128i barrett = _mm_load_si128(reinterpret_cast<const __m128i *>(BARRETT));
  __m128i quotient = _mm_clmulepi64_si128(_mm_and_si128(x, low32), barrett, 0x10);
  quotient = _mm_clmulepi64_si128(_mm_and_si128(quotient, low32), barrett, 0x00);
  return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(x, quotient), 1));
}

// Four lanes of 16 bytes folded 64 bytes at a time, then into one lane and
// on 16 bytes at a time. The stack is aligned afresh: 32-bit Windows keeps
// it to 4 bytes, the vectors need 16.
SAVER_FOLDING __attribute__((force_align_arg_pointer)) uint32_t folded(uint32_t inverted,
                                                                       const uint8_t *&at, size_t &left) {
  __m128i lanes[4] = {loaded(at), loaded(at + 16), loaded(at + 32), loaded(at + 48)};
  lanes[0] = _mm_xor_si128(lanes[0], _mm_cvtsi32_si128(static_cast<int>(inverted)));
  at += 64;
  left -= 64;
  const __m128i by64 = _mm_load_si128(reinterpret_cast<const __m128i *>(FOLD_BY_64));
  for (; left >= 64; at += 64, left -= 64)
    for (size_t lane = 0; lane < 4; ++lane) foldOnto(lanes[lane], by64, loaded(at + 16 * lane));
  const __m128i by16 = _mm_load_si128(reinterpret_cast<const __m128i *>(FOLD_BY_16));
  __m128i remainder = lanes[0];
  for (size_t lane = 1; lane < 4; ++lane) foldOnto(remainder, by16, lanes[lane]);
  for (; left >= 16; at += 16, left -= 16) foldOnto(remainder, by16, loaded(at));
  return reduced(remainder);
}

}  // namespace

size_t crc32FoldBlocks(uint32_t &crc, const uint8_t *bytes, size_t count) {
  if (!PROCESSOR_FOLDS || count < FOLD_MIN_BYTES) return 0;
  const uint8_t *at = bytes;
  size_t left = count;
  // The folding works on the register's value, zlib's result inverted.
  crc = ~folded(~crc, at, left);
  return count - left;
}

#else

size_t crc32FoldBlocks(uint32_t &, const uint8_t *, size_t) { return 0; }

#endif
