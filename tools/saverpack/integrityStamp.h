// Writing the integrity record while a package is built: the CRC-32 of each
// member and entry as it is installed, then the package's and the installer
// program's length and CRC (package/integrityRecord.h).
#ifndef SAVER_TOOLS_SAVERPACK_INTEGRITY_STAMP_H
#define SAVER_TOOLS_SAVERPACK_INTEGRITY_STAMP_H

#include "tools/saverpack/dataFileBuilder.h"
#include "tools/saverpack/packageBuilder.h"

#include <cstdint>
#include <string>
#include <vector>

// Tags every member of dataFile (built from members, in that order) that
// writes a file with the CRC of its bytes. False, with the reason, when a
// compressed member does not expand to its bytes again.
bool stampMemberCrcs(const std::vector<DataMember> &members, std::vector<uint8_t> &dataFile,
                     std::string &error);

// Writes the package record into header, its entries tagged already: the
// package is packageLength bytes from the header's first, crcBehindHeader
// the CRC of those behind the header. False when entry 0 is present.
bool sealPackageHeader(InstallerHeader &header, const std::vector<uint8_t> &program, uint32_t packageLength,
                       uint32_t crcBehindHeader, std::string &error);

// The header bytes that the build stamps (the record, the tags of the
// present entries): a manifest need not carry them.
std::vector<bool> stampedHeaderBytes(const InstallerHeader &header);

#endif
