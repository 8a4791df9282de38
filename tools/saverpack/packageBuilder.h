// Building the package that follows the installer program: the header and
// the stored bytes of each carried file, imploded where asked.
#ifndef SAVER_TOOLS_SAVERPACK_PACKAGE_BUILDER_H
#define SAVER_TOOLS_SAVERPACK_PACKAGE_BUILDER_H

#include "package/dataStructures_shared.h"
#include "package/packageFormat.h"
#include "package/packageProperties.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct CarriedFile {
  int index = 0;
  std::string name;
  int32_t destKind = DEST_SAVER_FOLDER;
  bool compressed = false;
  std::vector<uint8_t> bytes;     // the file as it is to be installed
  std::vector<uint8_t> imploded;  // its implode stream when already made; else made here
};

struct PackageFlags {
  uint8_t installerType = 0;
  uint8_t showLicense = 0;
  uint8_t carriesReadMe = 0;
  uint8_t carriesFlashInstaller = 0;
  uint8_t flashInstallerVersionIndex = 0;
  uint8_t offerControlPanel = 0;
  std::string saverName;
  // As stored: the header's fields, and the property record's when one of
  // its fields is set.
  PackageProperties properties;
  // Shown in place of a movie that cannot be played; stored behind the
  // entries, where properties.posterRange, set by the build, locates it.
  std::vector<uint8_t> poster;
  // Raw bytes laid over the finished header, by offset: only where no other
  // field puts anything (reserved bytes, name fields behind their end,
  // absent entries).
  std::map<uint32_t, std::vector<uint8_t>> headerBytes;
};

// The package for an installer program of programSize bytes: entries are
// stored in the order given and located by offsets counted from the
// program's first byte. False, with the reason in error, when a file cannot
// be compressed, header bytes would overwrite a field, or the package would
// outgrow the 32-bit offsets.
bool buildPackage(const PackageFlags &flags, const std::vector<CarriedFile> &files, uint32_t programSize,
                  std::vector<uint8_t> &package, std::string &error);

// The header's fields that flags set; entries follow with placeEntry.
InstallerHeader headerOfFlags(const PackageFlags &flags);

// Points file's entry (index, name, destination, compressed) at storedSize
// bytes from start, counted from the program's first byte. False, with the
// reason, when they would end past the largest package.
bool placeEntry(const CarriedFile &file, int64_t start, int64_t storedSize, int64_t expandedSize,
                InstallerHeader &header, std::string &error);

// Puts header at the start of package and appends the poster and the
// property record, located as if package's bytes behind the header began
// at tailBase (the program's size, plus the entries' bytes when those are
// stored elsewhere); then lays the raw header bytes.
bool finishPackage(const PackageFlags &flags, const InstallerHeader &header, uint32_t tailBase,
                   std::vector<uint8_t> &package, std::string &error);

// The flags, saver name and properties that a package stores (headerBytes
// left empty), its property record read from installer (a program of
// programSize bytes and its package) into record. An item of the record
// that this packer does not know is skipped. STATUS_PACKAGE_DAMAGED for a
// damaged property record, or an I/O code.
int32_t packageFlagsOf(ByteSource &installer, uint32_t programSize, const InstallerHeader &header,
                       PackageFlags &flags, PropertyRecord &record);

// The header bytes that fields of flags and of the present entries fill,
// and entry 0's start and end, which locate the property record;
// headerBytes may not touch them.
std::vector<bool> headerFieldBytes(const InstallerHeader &header);

// Implodes bytes with the codec, in the shortest stream unless fast asks
// for the quicker greedy coder: false when the codec refuses.
bool implodeBytes(const std::vector<uint8_t> &bytes, std::vector<uint8_t> &imploded, bool fast = false);

// Whether imploding a file of total bytes stops, with written bytes of
// stream made from the first consumed.
bool implodeGivesUp(uint64_t written, uint64_t consumed, uint64_t total);

// Implodes bytes and keeps the stream in imploded only when it is smaller
// than the bytes themselves: true when they are to be stored imploded.
// Imploding stops as soon as the stream grows past the bytes read so far
// (by 64 KiB, so that short files are always tried whole): a file that
// does not shrink from its start is stored plain.
bool implodeWhenSmaller(const std::vector<uint8_t> &bytes, std::vector<uint8_t> &imploded,
                        bool fast = false);

#endif
