// The stored bytes that the integrity pass need not read: a big member of a
// data file stored plain carries the CRC of its bytes in its own header, and
// the member's copy checks its bytes against it as they pass. The pass takes
// that CRC in place of the bytes, so that a big member is read once, not
// twice; a member that is never copied is never used either. Portable.
#ifndef SAVER_PACKAGE_VOUCHED_SPANS_H
#define SAVER_PACKAGE_VOUCHED_SPANS_H

#include "package/integrityRecord.h"
#include "package/packageFormat.h"

#include <cstdint>
#include <vector>

// Smaller members are read in the pass as before: a damaged one is still
// told at start-up, and reading them costs little.
const uint32_t VOUCHED_MEMBER_MIN_BYTES = 1u << 20;

// The plain, tagged members of at least minBytes in the
// data file (entry ENTRY_DATA_FILE) of the package in file, when that is
// stored plain, in the table's order. A table that cannot be read gives none,
// and the pass then reads every byte.
std::vector<VouchedSpan> findVouchedSpans(ByteSource &file, const InstallerHeader &header,
                                          uint32_t minBytes = VOUCHED_MEMBER_MIN_BYTES);

#endif
