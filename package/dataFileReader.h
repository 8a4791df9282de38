// Reading the screen saver data file: settings record, member table, and each
// member's header and stored bytes, with every offset checked.
#ifndef SAVER_PACKAGE_DATA_FILE_READER_H
#define SAVER_PACKAGE_DATA_FILE_READER_H

#include "package/byteSource.h"
#include "package/dataStructures_shared.h"

#include <cstdint>
#include <vector>

// -30 when the file is shorter than the record, or an I/O code.
int32_t readSaverSettings(ByteSource &source, SaverSettings &settings);

// Reads the settings and fills table[1..memberCount] after zeroing all
// MEMBER_TABLE_SIZE records: -14 for a memberCount the table cannot hold,
// -30 when the file ends inside the table, or an I/O code.
int32_t readMemberTable(ByteSource &source, SaverSettings &settings, DataMemberRecord *table);

// -30 when the header lies outside the file, or an I/O code.
int32_t readMemberHeader(ByteSource &source, const DataMemberRecord &record, DataMemberHeader &header);

// The stored bytes behind the header (none for an empty member): -30 when
// they lie outside the file, -7 without memory, or an I/O code.
int32_t readMemberBytes(ByteSource &source, const DataMemberRecord &record,
                        const DataMemberHeader &header, std::vector<uint8_t> &bytes);

#endif
