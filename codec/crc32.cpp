// The running checksum of the DCL interface is zlib's CRC-32 without the
// inversion at both ends, which the caller does itself.
#include "codec/dcl.h"

#include <zlib.h>

namespace dcl {

unsigned long crc32(const char *buffer, const unsigned *size, const unsigned long *oldCrc) {
  const uLong zlibSeed = ~*oldCrc & 0xFFFFFFFFul;
  const uLong zlibCrc = ::crc32(zlibSeed, reinterpret_cast<const Bytef *>(buffer), *size);
  return ~zlibCrc & 0xFFFFFFFFul;
}

}  // namespace dcl
