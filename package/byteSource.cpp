#include "package/byteSource.h"

#include <cstring>

int32_t MemorySource::readAt(int64_t offset, void *buffer, uint32_t count, uint32_t &got) {
  got = 0;
  if (offset < 0 || offset >= size()) return 0;
  const uint64_t available = count_ - static_cast<size_t>(offset);
  got = available < count ? static_cast<uint32_t>(available) : count;
  std::memcpy(buffer, bytes_ + offset, got);
  return 0;
}
