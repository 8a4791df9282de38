// Reading and checking the screen saver data file: the settings record, the
// member table, and each member's header and stored bytes, with every offset
// checked; and the texts of its messages. Portable, like packageFormat.
#ifndef SAVER_PACKAGE_DATA_FILE_FORMAT_H
#define SAVER_PACKAGE_DATA_FILE_FORMAT_H

#include "package/dataStructures_shared.h"
#include "package/packageFormat.h"

#include <cstdint>
#include <string>
#include <vector>

// STATUS_TOO_MANY_MEMBERS when memberCount lies outside 0..1010: the table
// cannot hold it.
int32_t checkMemberCount(int32_t memberCount);

// Offset of member i's record (1-based) in the data file.
int64_t memberRecordOffset(int memberIndex);

// The member's relative path up to its NUL; "" when the field has none.
std::string memberPathOf(const DataMemberRecord &record);

// False when the path fills its whole field without a NUL: such a path is
// unsafe (STATUS_UNSAFE_NAME), never an empty one to skip.
bool memberPathTerminated(const DataMemberRecord &record);

// The number of bytes stored behind a member's header: storedSize when
// compressed, expandedSize otherwise, 0 when nothing is written.
// STATUS_SHORT_ENTRY when the header or those bytes lie outside a data file
// of fileSize bytes.
int32_t memberStoredLength(const DataMemberHeader &header, int64_t headerOffset, int64_t fileSize,
                           uint32_t &length);

// STATUS_SHORT_ENTRY when a member header at headerOffset would reach past
// the file's end.
int32_t checkMemberHeaderOffset(int64_t headerOffset, int64_t fileSize);

// STATUS_SHORT_ENTRY when the file is shorter than the record, or an I/O code.
int32_t readSaverSettings(ByteSource &source, SaverSettings &settings);

// Reads the settings and fills table[1..memberCount] after zeroing all
// MEMBER_TABLE_SIZE records: STATUS_TOO_MANY_MEMBERS for a memberCount the
// table cannot hold, STATUS_SHORT_ENTRY when the file ends inside the table,
// or an I/O code.
int32_t readMemberTable(ByteSource &source, SaverSettings &settings, DataMemberRecord *table);

// STATUS_SHORT_ENTRY when the header lies outside the file, or an I/O code.
int32_t readMemberHeader(ByteSource &source, const DataMemberRecord &record, DataMemberHeader &header);

// The stored bytes behind the header as a slice of source, to be read in
// blocks: STATUS_SHORT_ENTRY when they lie outside the file.
int32_t memberStoredSlice(ByteSource &source, const DataMemberRecord &record,
                          const DataMemberHeader &header, SliceSource &stored);

// The stored bytes behind the header (none for an empty member):
// STATUS_SHORT_ENTRY when they lie outside the file, STATUS_OUT_OF_MEMORY
// without memory, or an I/O code.
int32_t readMemberBytes(ByteSource &source, const DataMemberRecord &record, const DataMemberHeader &header,
                        std::vector<uint8_t> &bytes);

#endif
