// Reading and checking the package header and its entries. Portable: works on
// bytes already read, so the same checks serve the installer, the packer and
// the tests.
#ifndef SAVER_PACKAGE_FORMAT_H
#define SAVER_PACKAGE_FORMAT_H

#include "package/dataStructures_shared.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Fills header from count bytes: STATUS_SHORT_HEADER when fewer than a header's bytes are
// given, STATUS_INVALID_HEADER when a carried Flash installer names an unknown version row.
int32_t parseInstallerHeader(const uint8_t *bytes, size_t count, InstallerHeader &header);

// The saver name up to its first NUL or the end of its field.
std::string saverNameOf(const InstallerHeader &header);

bool entryPresent(const PackageEntry &entry);
std::string entryNameOf(const PackageEntry &entry);
// Stores name, cut to the field's 255 characters.
void setEntryName(PackageEntry &entry, const std::string &name);

// The stored length end - start + 1, provided the stored bytes lie inside a
// package file of fileSize bytes; otherwise STATUS_SHORT_ENTRY, before anything is allocated.
int32_t entryStoredLength(const PackageEntry &entry, int64_t fileSize, uint32_t &length);

#endif
