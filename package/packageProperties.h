// The package's own properties as one typed record, whichever bytes hold
// them: the header's entry 0 name field for those that packages carried
// before the property record, the property record (package/propertyRecord.h)
// for the rest. PACKAGE_PROPERTIES says where each field lies, and every
// reader and writer goes through it. Portable.
//
// A property is added with a field below and its row in PACKAGE_PROPERTIES
// (a new tag of the property record), and a row in the packer's table of
// manifest keys (tools/saverpack/propertyKeys.cpp).
#ifndef SAVER_PACKAGE_PACKAGE_PROPERTIES_H
#define SAVER_PACKAGE_PACKAGE_PROPERTIES_H

#include "package/dataStructures_shared.h"
#include "package/packageFormat.h"
#include "package/propertyRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PackageProperties {
  // In the header.
  uint8_t moviePlayer = 0;    // a MoviePlayerNeed (package/integrityRecord.h)
  uint8_t uninstallMark = 0;  // UNINSTALLER_CARRIED (package/uninstallMark.h) or anything else
  std::string publisher;      // the maker's name in the list of installed programs
  // In the property record.
  std::string version;     // "major.minor[.build[.revision]]" (package/packageVersion.h)
  std::string homepage;    // the saver's web page
  std::string supportUrl;  // where its users get help
  std::string languages;   // the languages the programs may speak, "en,de,fr"; "" for every one
  // Where the poster's bytes lie, "start length" (package/posterRange.h).
  std::string posterRange;
  uint8_t scope = 0;  // an InstallScope
};

// Who the saver is installed for: the whole machine (the system folder,
// HKLM, elevated), or the user who runs the installer (the user's profile
// and HKCU, never elevated). A package that states nothing is installed for
// the machine, as before the property.
enum class InstallScope : uint8_t { machine = 0, user = 'U' };
inline InstallScope installScopeOf(const PackageProperties &properties) {
  return properties.scope == static_cast<uint8_t>(InstallScope::user) ? InstallScope::user
                                                                      : InstallScope::machine;
}

// The property record's tags; a tag once used keeps its meaning.
constexpr uint16_t VERSION_TAG = 1;
constexpr uint16_t HOMEPAGE_TAG = 2;
constexpr uint16_t SUPPORT_URL_TAG = 3;
constexpr uint16_t SCOPE_TAG = 4;
constexpr uint16_t LANGUAGES_TAG = 5;
constexpr uint16_t POSTER_TAG = 6;
constexpr uint16_t VERSION_FIELD = 23;  // "65535.65535.65535.65535"
constexpr uint16_t URL_FIELD = 2048;
constexpr uint16_t LANGUAGES_FIELD = 256;
constexpr uint16_t POSTER_RANGE_FIELD = 21;  // "4294967295 4294967295"

// One field of PackageProperties: its type and where it is stored.
struct PropertyField {
  uint8_t PackageProperties::*byte = nullptr;      // a byte, or
  std::string PackageProperties::*text = nullptr;  // a text: no zero byte, at most maxLength bytes
  uint16_t maxLength = 0;
  // The header's bytes from headerOffset (a text there ends with a zero byte
  // or its field's end); or, when tag is not 0, the property record's item
  // of that tag.
  uint16_t headerOffset = 0;
  uint16_t tag = 0;
};

struct PropertyTable {
  const PropertyField *fields;
  size_t count;
};

// Every field of PackageProperties.
extern const PropertyTable PACKAGE_PROPERTIES;

// The row of a text field; nullptr for a field without one.
const PropertyField *propertyFieldOf(std::string PackageProperties::*text);

// What the header states: its fields count only in a header that carries an
// integrity record; else they stay empty.
PackageProperties headerProperties(const InstallerHeader &header);
// The header's fields as stored, record or not (the one inside the
// integrity record needs its magic): what extract keeps byte for byte.
PackageProperties storedHeaderProperties(const InstallerHeader &header);

// Sets the fields that record's items hold; items of tags the table does
// not know are skipped. STATUS_PACKAGE_DAMAGED, and no field set, for an
// item whose value does not fit its field (a byte of another length, a text
// too long or with a zero byte).
int32_t takeRecordProperties(const PropertyRecord &record, const PropertyTable &table,
                             PackageProperties &properties);

// What a package states, read through its one open file: the header's
// fields, then the property record's, both only when the header carries an
// integrity record. STATUS_PACKAGE_DAMAGED for a damaged property record
// (the header's fields are taken all the same), or an I/O code.
int32_t readPackageProperties(ByteSource &package, uint32_t programSize, const InstallerHeader &header,
                              PackageProperties &properties,
                              const PropertyTable &table = PACKAGE_PROPERTIES);

// Writes the header's fields.
void writeHeaderProperties(const PackageProperties &properties, InstallerHeader &header);
// The header bytes that the fields written there take.
void markHeaderPropertyBytes(const InstallerHeader &header, std::vector<bool> &taken);

// The items of the record fields that differ from an empty value, in the
// table's order: none when every one is empty, so that a package without
// them carries no record.
std::vector<PropertyItem> recordPropertyItems(const PackageProperties &properties,
                                              const PropertyTable &table = PACKAGE_PROPERTIES);

#endif
