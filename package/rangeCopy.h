// Copying stored bytes out of the package into a file in bounded blocks,
// checked against their CRC as they pass: memory stays the same whatever
// the length.
#ifndef SAVER_PACKAGE_RANGE_COPY_H
#define SAVER_PACKAGE_RANGE_COPY_H

#include "package/installObserver.h"
#include "package/integrityRecord.h"
#include "package/packageFormat.h"

#include <cstdint>
#include <string>

// Writes the whole of stored into a new file target (replacing any file):
// 0, STATUS_SHORT_ENTRY when the source ends early or the disk takes fewer
// bytes, STATUS_EXPANDED_CRC_MISMATCH when the bytes do not match expected
// (checked only when expected is present), STATUS_USER_ABORT when the user cancelled, or the
// system's code. A failure removes the file, so nothing written stays; created tells whether a file stands
// at target. A watching observer, when there is one, is given a pause before each block, so that "Cancel"
// stops a long copy.
int32_t copyCheckedFile(ByteSource &stored, const std::string &target, const ExpandedCrc &expected,
                        InstallObserver *watching, bool &created);

#endif
