// Reading the package behind the installer program: its header and the stored
// bytes of an entry, with every offset checked against the file's size.
#ifndef SAVER_PACKAGE_PACKAGE_READER_H
#define SAVER_PACKAGE_PACKAGE_READER_H

#include "package/byteSource.h"
#include "package/dataStructures_shared.h"

#include <cstdint>
#include <vector>

// Reads and checks the header at offset (the installer's size): STATUS_SHORT_HEADER when the
// file ends before a whole header, STATUS_INVALID_HEADER for an invalid field, or an I/O code.
int32_t readInstallerHeader(ByteSource &source, int64_t offset, InstallerHeader &header);

// Reads an entry's stored bytes into one buffer of their length: STATUS_SHORT_ENTRY when
// they lie outside the file or fewer arrive, STATUS_OUT_OF_MEMORY without memory, or an I/O code.
int32_t readEntryBytes(ByteSource &source, const PackageEntry &entry, std::vector<uint8_t> &bytes);

// Reads exactly count bytes at offset: STATUS_SHORT_ENTRY when fewer arrive, or an I/O code.
int32_t readExactly(ByteSource &source, int64_t offset, void *buffer, uint32_t count);

// Sizes bytes to count: STATUS_OUT_OF_MEMORY when there is no memory for it.
int32_t allocateBuffer(std::vector<uint8_t> &bytes, uint32_t count);

#endif
