// The CRC-32 of long runs of bytes by carry-less multiplication, where the
// processor has it (PCLMULQDQ with SSE4.1, on x86 since 2010): the bytes are
// folded 64 at a time into a 128-bit remainder, which is then reduced. It is
// many times faster than a table, so that checking a big member costs its
// copy almost nothing. The result is zlib's CRC-32 bit for bit.
#ifndef SAVER_PACKAGE_CRC32_FOLDING_H
#define SAVER_PACKAGE_CRC32_FOLDING_H

#include <cstddef>
#include <cstdint>

// Takes the longest part of bytes that folding handles (a multiple of 16
// bytes, at least 64) into crc, a standard CRC-32 (zip, PNG) so far, and
// returns how many bytes it took: 0 when the processor cannot fold or count
// is too short, in which case crc is as it was.
size_t crc32FoldBlocks(uint32_t &crc, const uint8_t *bytes, size_t count);

#endif
