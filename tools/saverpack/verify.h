// "saverpack verify" and the integrity part of "saverpack inspect": the
// integrity record of an installer checked against its bytes, every entry
// and data-file member expanded and compared with its CRC-32, and the names
// the installer would refuse.
#ifndef SAVER_TOOLS_SAVERPACK_VERIFY_H
#define SAVER_TOOLS_SAVERPACK_VERIFY_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct IntegrityReport {
  bool recordPresent = false;
  std::vector<std::string> lines;     // what was checked, one item a line
  std::vector<std::string> problems;  // damage found
  std::vector<std::string> refused;   // names the installer refuses
};

// installer: an installer program file of programSize bytes with its package.
IntegrityReport checkInstallerIntegrity(const std::vector<uint8_t> &installer, uint32_t programSize);

// The report, ending in "integrity: ok" or a line for each problem.
void printIntegrityReport(const IntegrityReport &report, std::ostream &out);

// "saverpack verify FILE [--ca CA]" for an installer or launcher file: 0 when
// it carries a record, everything matches it, the installer refuses no name
// and no layer's signature is broken (or, with caPath, fails its chain); 1
// otherwise. It also notes, without failing, what winget would miss (no
// version, no publisher).
int verifyFile(const std::string &path, const std::string &caPath, std::ostream &out);

#endif
