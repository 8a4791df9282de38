// The byte-exact records of the package appended to the installer and of the
// screen saver data file. All integers are little-endian; both targets are
// little-endian x86, so the records are read and written as they lie on disk.
#ifndef SAVER_PACKAGE_DATA_STRUCTURES_H
#define SAVER_PACKAGE_DATA_STRUCTURES_H

#include <cstddef>
#include <cstdint>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "records are stored little-endian");

// installerType values.
const uint8_t BITMAP_TYPE = 1;
const uint8_t QUIET_TYPE = 4;
const uint8_t JPEG_TYPE = 8;

// A movie splash, played with the movie player.
inline bool isMovieType(uint8_t installerType) { return installerType == 2 || installerType == 3; }

const int PACKAGE_ENTRY_COUNT = 11;
const int PACKAGE_ENTRY_NAME_MAX = 255;
const int SAVER_NAME_FIELD = 64;

// Fixed roles of entry indices.
const int ENTRY_CODEC_LIBRARY = 1;
const int ENTRY_FLASH_INSTALLER = 2;
const int ENTRY_SPLASH = 3;
const int ENTRY_LICENSE = 4;
const int ENTRY_README = 5;
const int ENTRY_SAVER_PROGRAM = 6;
const int ENTRY_DATA_FILE = 8;
const int ENTRY_LAST = 10;

// destKind values. 5, 6 and 10 go to the saver folder as 1 does; 0, 8, 9 and
// anything above 10 have no destination. destinationOf (package/installNames.h)
// says where each goes.
const int32_t DEST_SAVER_FOLDER = 1;
const int32_t DEST_SYSTEM_FOLDER = 2;
const int32_t DEST_SHARED_LIBRARY = 3;
const int32_t DEST_WORK_FOLDER_LIBRARY = 4;
const int32_t DEST_WORK_FOLDER = 7;

const int MAX_DATA_MEMBERS = 1010;
const int MEMBER_TABLE_SIZE = MAX_DATA_MEMBERS + 1;  // index 0 is never used
const int MEMBER_PATH_FIELD = 256;
const uint8_t MEMBER_TYPE_MOVIE_COPY = 3;

#pragma pack(push, 1)

struct PackageEntry {
  uint8_t nameLength;  // 0 = the entry is absent
  char name[PACKAGE_ENTRY_NAME_MAX];
  int32_t start;  // absolute offset of the first stored byte
  int32_t end;    // absolute offset of the last stored byte
  int32_t destKind;
  uint8_t compressed;
  uint8_t reserved[7];
  int32_t expandedSize;
};

struct InstallerHeader {
  uint8_t installerType;
  uint8_t showLicense;
  uint8_t carriesReadMe;
  uint8_t carriesFlashInstaller;
  uint8_t flashInstallerVersionIndex;
  uint8_t offerControlPanel;
  char saverName[SAVER_NAME_FIELD];  // ended by the first NUL or the field's end
  uint8_t reserved[2];
  PackageEntry entries[PACKAGE_ENTRY_COUNT];
};

// The settings record; the installer reads only two fields, the rest belongs
// to the screen saver program.
struct SaverSettings {
  uint8_t saverFields1[212];
  int32_t memberCount;
  uint8_t saverFields2[992];
  int32_t firstMemberType;  // 3 makes member 1 a copy of the installer movie
  uint8_t saverFields3[28];
};

struct DataMemberRecord {
  uint8_t memberType;
  uint8_t reserved1;
  char path[MEMBER_PATH_FIELD];  // relative to the saver folder, NUL-terminated
  uint8_t reserved2[2];
  int32_t headerOffset;  // absolute offset of the member's DataMemberHeader
};

struct DataMemberHeader {
  uint8_t reserved1[4];
  uint32_t attribute;
  int32_t expandedSize;  // 0 = nothing is written
  int32_t storedSize;    // stored bytes of a compressed member
  int32_t compressed;
  uint8_t reserved2[24];
};

#pragma pack(pop)

static_assert(sizeof(PackageEntry) == 280, "PackageEntry size");
static_assert(offsetof(PackageEntry, name) == 1, "PackageEntry name");
static_assert(offsetof(PackageEntry, start) == 256, "PackageEntry start");
static_assert(offsetof(PackageEntry, end) == 260, "PackageEntry end");
static_assert(offsetof(PackageEntry, destKind) == 264, "PackageEntry destKind");
static_assert(offsetof(PackageEntry, compressed) == 268, "PackageEntry compressed");
static_assert(offsetof(PackageEntry, expandedSize) == 276, "PackageEntry expandedSize");

static_assert(sizeof(InstallerHeader) == 3152, "InstallerHeader size");
static_assert(offsetof(InstallerHeader, flashInstallerVersionIndex) == 4, "flash index");
static_assert(offsetof(InstallerHeader, offerControlPanel) == 5, "offerControlPanel");
static_assert(offsetof(InstallerHeader, saverName) == 6, "saverName");
static_assert(offsetof(InstallerHeader, entries) == 72, "entries");

static_assert(sizeof(SaverSettings) == 1240, "SaverSettings size");
static_assert(offsetof(SaverSettings, memberCount) == 212, "memberCount");
static_assert(offsetof(SaverSettings, firstMemberType) == 1208, "firstMemberType");

static_assert(sizeof(DataMemberRecord) == 264, "DataMemberRecord size");
static_assert(offsetof(DataMemberRecord, path) == 2, "member path");
static_assert(offsetof(DataMemberRecord, headerOffset) == 260, "member header offset");

static_assert(sizeof(DataMemberHeader) == 44, "DataMemberHeader size");
static_assert(offsetof(DataMemberHeader, attribute) == 4, "member attribute");
static_assert(offsetof(DataMemberHeader, expandedSize) == 8, "member expandedSize");
static_assert(offsetof(DataMemberHeader, storedSize) == 12, "member storedSize");
static_assert(offsetof(DataMemberHeader, compressed) == 16, "member compressed");

#endif
