// The running checksum of the DCL interface is zlib's CRC-32 without the
// inversion at both ends, which the caller does itself.
#include "codec/dcl.h"

#include <zlib.h>

namespace dcl {

unsigned long crc32(const char *buffer, const unsigned *size, const unsigned long *oldCrc) {
  // zlib answers a null buffer with its initial value, which would lose the
  // running checksum.
  if (*size == 0) return *oldCrc;
  const uLong zlibSeed = ~*oldCrc & 0xFFFFFFFFul;
  const uLong zlibCrc = ::crc32(zlibSeed, reinterpret_cast<const Bytef *>(buffer), *size);
  return ~zlibCrc & 0xFFFFFFFFul;
}

}  // namespace dcl
