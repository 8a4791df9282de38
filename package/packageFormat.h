// Reading and checking the package behind the installer program: its header
// and the stored bytes of its entries, with every offset checked against the
// file's size. Portable: the readers work on a ByteSource, so the same checks
// serve the installer (a file), the packer and the tests (bytes in memory).
#ifndef SAVER_PACKAGE_FORMAT_H
#define SAVER_PACKAGE_FORMAT_H

#include "package/dataStructures_shared.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Random-access reading of a package or data file.
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

// length bytes of another source from offset, read as a source of their own.
class SliceSource : public ByteSource {
 public:
  SliceSource() = default;
  SliceSource(ByteSource &whole, int64_t offset, int64_t length)
      : whole_(&whole), offset_(offset), length_(length) {}
  int64_t size() const override { return length_; }
  int32_t readAt(int64_t offset, void *buffer, uint32_t count, uint32_t &got) override;

 private:
  ByteSource *whole_ = nullptr;
  int64_t offset_ = 0;
  int64_t length_ = 0;
};

// Reads exactly count bytes at offset: STATUS_SHORT_ENTRY when fewer arrive,
// or an I/O code.
int32_t readExactly(ByteSource &source, int64_t offset, void *buffer, uint32_t count);

// Sizes bytes to count: STATUS_OUT_OF_MEMORY when there is no memory for it.
int32_t allocateBuffer(std::vector<uint8_t> &bytes, uint32_t count);

// Fills header from count bytes: STATUS_SHORT_HEADER when fewer than a
// header's bytes are given, STATUS_INVALID_HEADER when a carried Flash
// installer names an unknown version row or a present entry lies or
// expands beyond the limits of packageLimits.h.
int32_t parseInstallerHeader(const uint8_t *bytes, size_t count, InstallerHeader &header);

// Reads and checks the header at offset (the installer's size):
// STATUS_SHORT_HEADER when the file ends before a whole header,
// STATUS_INVALID_HEADER for an invalid field, or an I/O code.
int32_t readInstallerHeader(ByteSource &source, int64_t offset, InstallerHeader &header);

// The saver name up to its first NUL or the end of its field.
std::string saverNameOf(const InstallerHeader &header);

bool entryPresent(const PackageEntry &entry);
std::string entryNameOf(const PackageEntry &entry);
// Stores name, cut to the field's 255 characters.
void setEntryName(PackageEntry &entry, const std::string &name);

// The stored length end - start + 1, provided the stored bytes lie inside a
// package file of fileSize bytes; otherwise STATUS_SHORT_ENTRY, before
// anything is allocated.
int32_t entryStoredLength(const PackageEntry &entry, int64_t fileSize, uint32_t &length);

// Reads an entry's stored bytes into one buffer of their length:
// STATUS_SHORT_ENTRY when they lie outside the file or fewer arrive,
// STATUS_OUT_OF_MEMORY without memory, or an I/O code.
int32_t readEntryBytes(ByteSource &source, const PackageEntry &entry, std::vector<uint8_t> &bytes);

#endif
