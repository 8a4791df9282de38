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

// Tags every entry of package (built from files for program) and writes the
// package record around the movie-player byte that the package's header
// holds. False, with the reason, when a compressed entry does not expand to
// its file again.
bool stampPackageIntegrity(const std::vector<CarriedFile> &files, const std::vector<uint8_t> &program,
                           std::vector<uint8_t> &package, std::string &error);

// The header bytes stampPackageIntegrity writes (the record, the tags of
// the present entries): a manifest need not carry them.
std::vector<bool> stampedHeaderBytes(const InstallerHeader &header);

#endif
