// Writing a screen saver data file to disk member by member: the settings
// record and member table first as room, then each member's header and
// stored bytes, each header written back once its member is stored.
#ifndef SAVER_TOOLS_SAVERPACK_DATA_FILE_WRITER_H
#define SAVER_TOOLS_SAVERPACK_DATA_FILE_WRITER_H

#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/manifest.h"
#include "tools/saverpack/progress.h"

#include <cstdint>
#include <cstdio>
#include <string>

// Writes the data file that plan describes into output from its position
// (output open for reading and writing): size is its length and crc the
// CRC-32 of its bytes; the file may reach beyond them. fastImplode picks
// the greedy coder for its members. False, with the reason, for too many
// members, a path that does not fit, a member that cannot be read or a
// file that outgrows the largest entry.
bool writeDataFile(const DataFilePlan &plan, bool fastImplode, std::FILE *output, int64_t &size,
                   uint32_t &crc, std::string &error, Progress *progress, BuildNotes *notes);

#endif
