// Reading and checking the screen saver data file: the settings record, the
// member table and each member's header. Portable, like packageFormat.
#ifndef SAVER_PACKAGE_DATA_FILE_FORMAT_H
#define SAVER_PACKAGE_DATA_FILE_FORMAT_H

#include "package/dataStructures_shared.h"

#include <cstdint>
#include <string>

// STATUS_TOO_MANY_MEMBERS when memberCount lies outside 0..1010: the table cannot hold it.
int32_t checkMemberCount(int32_t memberCount);

// Offset of member i's record (1-based) in the data file.
int64_t memberRecordOffset(int memberIndex);

// The member's relative path up to its NUL; "" when the field has none, so a
// path that overruns its field is never used.
std::string memberPathOf(const DataMemberRecord &record);

// The number of bytes stored behind a member's header: storedSize when
// compressed, expandedSize otherwise, 0 when nothing is written. STATUS_SHORT_ENTRY when the
// header or those bytes lie outside a data file of fileSize bytes.
int32_t memberStoredLength(const DataMemberHeader &header, int64_t headerOffset, int64_t fileSize,
                           uint32_t &length);

// STATUS_SHORT_ENTRY when a member header at headerOffset would reach past the file's end.
int32_t checkMemberHeaderOffset(int64_t headerOffset, int64_t fileSize);

// Data-file messages; systemText is the operating system's text for a code.
std::string dataFileInUseText();
std::string dataFileOpenErrorText(const std::string &path, int32_t code);
std::string dataFileReadErrorText(const std::string &systemText);
std::string dataFileCloseErrorText(const std::string &systemText);

#endif
