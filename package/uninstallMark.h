// What a package says about its uninstall, in the bytes of entry 0's name
// field behind the integrity record (entry 0 is never extracted, and older
// installers read none of it): whether the package carries its own
// uninstaller, and the maker's name for the list of installed programs.
// Both count only in a package with an integrity record, so bytes that an
// older packer left there state nothing. Unlike the record's own bytes they
// are covered by the package CRC. They are fields of PackageProperties
// (package/packageProperties.h); the layout is documented in
// tools/saverpack/manifest.md. Portable.
#ifndef SAVER_PACKAGE_UNINSTALL_MARK_H
#define SAVER_PACKAGE_UNINSTALL_MARK_H

#include "package/integrityRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>

const size_t UNINSTALL_MARK_OFFSET = INTEGRITY_RECORD_OFFSET + sizeof(IntegrityRecord);
const size_t PUBLISHER_OFFSET = UNINSTALL_MARK_OFFSET + 1;
const size_t PUBLISHER_FIELD = 64;  // ended by a zero byte or the field's end

// The mark's byte: the uninstaller is a member of the data file. Any other
// value, 0 included, leaves the uninstall to the saver's own "/u".
const uint8_t UNINSTALLER_CARRIED = 0x55;  // 'U'

bool carriesUninstaller(const InstallerHeader &header);
// Written as it is, for headers made by hand.
void setUninstallMark(InstallerHeader &header, uint8_t mark);
// "" in a package without an integrity record.
std::string publisherOf(const InstallerHeader &header);

#endif
