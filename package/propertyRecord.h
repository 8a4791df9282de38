// The property record: the package's own properties that do not fit the
// header, as tag-length-value items in bytes of the package behind the
// header. Entry 0's start and end give its range; its name length stays 0,
// so every installer skips entry 0 and never extracts it. The package CRC
// covers the record like any stored bytes. The layout is documented in
// tools/saverpack/manifest.md. Portable.
#ifndef SAVER_PACKAGE_PROPERTY_RECORD_H
#define SAVER_PACKAGE_PROPERTY_RECORD_H

#include "package/dataStructures_shared.h"
#include "package/packageFormat.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

const uint8_t PROPERTY_RECORD_VERSION = 1;
// Magic and version; then the items, the last one the end mark: tag 0,
// length 0.
const size_t PROPERTY_RECORD_HEAD = 5;
const size_t PROPERTY_ITEM_HEAD = 4;  // tag and value length, u16 each
// Longer records of this version are refused unread.
const uint32_t PROPERTY_RECORD_MAX = 65536;

struct PropertyItem {
  uint16_t tag = 0;
  std::string value;
};

struct PropertyRecord {
  bool present = false;  // entry 0 locates bytes that start with the magic
  uint8_t version = 0;   // another than PROPERTY_RECORD_VERSION: no items read
  std::vector<PropertyItem> items;
};

// Parses count bytes: an absent record when they do not start with the
// magic; STATUS_PACKAGE_DAMAGED for a record of this version whose items run
// past its end, repeat a tag, or miss the end mark at its very end.
int32_t parsePropertyRecord(const uint8_t *bytes, size_t count, PropertyRecord &record);

// Reads the record that entry 0 locates in package (an installer file whose
// program is programSize bytes). Absent, without a fault, when entry 0's
// range does not lie behind the header and inside the file, as in every
// package built before the record. Else parsePropertyRecord's status,
// STATUS_PACKAGE_DAMAGED for a record of this version longer than
// PROPERTY_RECORD_MAX, or an I/O code.
int32_t readPropertyRecord(ByteSource &package, uint32_t programSize, const InstallerHeader &header,
                           PropertyRecord &record);

// The record of items, tags nonzero and apart, each value at most 65535
// bytes; no bytes for no items.
std::vector<uint8_t> propertyRecordBytes(const std::vector<PropertyItem> &items);

// Appends record to package (a header and its stored bytes, for a program
// of programSize bytes) and points entry 0 at it; nothing for no bytes.
// False when it is longer than PROPERTY_RECORD_MAX or its offsets would
// outgrow 2 GB.
bool appendPropertyRecord(std::vector<uint8_t> &package, uint32_t programSize,
                          const std::vector<uint8_t> &record);

#endif
