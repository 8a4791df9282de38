// Reading the screen saver data file: settings record, member table, and each
// member's header and stored bytes, with every offset checked.
#ifndef SAVER_PACKAGE_DATA_FILE_READER_H
#define SAVER_PACKAGE_DATA_FILE_READER_H

#include "package/byteSource.h"
#include "package/dataStructures_shared.h"

#include <cstdint>
#include <vector>

// STATUS_SHORT_ENTRY when the file is shorter than the record, or an I/O code.
int32_t readSaverSettings(ByteSource &source, SaverSettings &settings);

// Reads the settings and fills table[1..memberCount] after zeroing all
// MEMBER_TABLE_SIZE records: STATUS_TOO_MANY_MEMBERS for a memberCount the table cannot hold,
// STATUS_SHORT_ENTRY when the file ends inside the table, or an I/O code.
int32_t readMemberTable(ByteSource &source, SaverSettings &settings, DataMemberRecord *table);

// STATUS_SHORT_ENTRY when the header lies outside the file, or an I/O code.
int32_t readMemberHeader(ByteSource &source, const DataMemberRecord &record, DataMemberHeader &header);

// The stored bytes behind the header (none for an empty member): STATUS_SHORT_ENTRY when
// they lie outside the file, STATUS_OUT_OF_MEMORY without memory, or an I/O code.
int32_t readMemberBytes(ByteSource &source, const DataMemberRecord &record,
                        const DataMemberHeader &header, std::vector<uint8_t> &bytes);

#endif
