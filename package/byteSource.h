// Random-access reading of a package or data file, so that the readers work
// the same on a file (installer, packer) and on bytes in memory (tests, fuzz
// targets).
#ifndef SAVER_PACKAGE_BYTE_SOURCE_H
#define SAVER_PACKAGE_BYTE_SOURCE_H

#include <cstddef>
#include <cstdint>

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual int64_t size() const = 0;
  // Reads up to count bytes at offset; got tells how many arrived. Returns 0,
  // or the system's error code when the read itself failed.
  virtual int32_t readAt(int64_t offset, void *buffer, uint32_t count, uint32_t &got) = 0;
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const uint8_t *bytes, size_t count) : bytes_(bytes), count_(count) {}
  int64_t size() const override { return static_cast<int64_t>(count_); }
  int32_t readAt(int64_t offset, void *buffer, uint32_t count, uint32_t &got) override;

 private:
  const uint8_t *bytes_;
  size_t count_;
};

#endif
