// The largest package, entry and member: the format's offsets and lengths
// are signed 32-bit numbers, and the 32-bit installer reads them as such.
// The packer refuses anything larger; the installer takes a header that
// names more as damaged.
#ifndef SAVER_PACKAGE_LIMITS_H
#define SAVER_PACKAGE_LIMITS_H

#include "package/dataStructures_shared.h"

#include <cstdint>

// The installer program and its package: entries are located by offsets
// from the program's first byte.
constexpr int64_t MAX_PACKAGE_BYTES = INT32_MAX;

// An entry's stored bytes, and the file they expand to.
constexpr int64_t MAX_ENTRY_BYTES = INT32_MAX;

// A member's file: its data file, which holds the settings record, a
// member record and the member's header besides, is an entry.
constexpr int64_t MAX_MEMBER_BYTES = MAX_ENTRY_BYTES - static_cast<int64_t>(sizeof(SaverSettings)) -
                                     static_cast<int64_t>(sizeof(DataMemberRecord)) -
                                     static_cast<int64_t>(sizeof(DataMemberHeader));

#endif
