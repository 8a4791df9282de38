// Building the package that follows the installer program: the header and
// the stored bytes of each carried file, imploded where asked.
#ifndef SAVER_TOOLS_SAVERPACK_PACKAGE_BUILDER_H
#define SAVER_TOOLS_SAVERPACK_PACKAGE_BUILDER_H

#include "package/dataStructures_shared.h"

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
  // The integrity record's movie-player byte (MoviePlayerNeed), as stored.
  uint8_t moviePlayer = 0;
  // The uninstall mark's byte (UNINSTALLER_CARRIED or 0) and the publisher,
  // behind the integrity record, as stored.
  uint8_t uninstallMark = 0;
  std::string publisher;
  std::string saverName;
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

// The flags and the saver name of a header (headerBytes left empty).
PackageFlags packageFlagsOf(const InstallerHeader &header);

// The manifest's words for a movie-player byte: "required", "none", or ""
// for a byte that states nothing.
std::string moviePlayerWord(uint8_t moviePlayer);
// The byte of a word; false for a word that is neither.
bool moviePlayerOfWord(const std::string &word, uint8_t &moviePlayer);
// What a package states without the manifest's word: the player is
// required for a movie splash or a carried player installer, else none.
uint8_t defaultMoviePlayer(const PackageFlags &flags);

// The manifest's words for the uninstall mark: "carried" (the uninstaller is
// a member of the data file), "saver" (the saver's own "/u"), or "" for any
// other byte.
std::string uninstallWord(uint8_t mark);
bool uninstallMarkOfWord(const std::string &word, uint8_t &mark);

// The header bytes that fields of flags and of the present entries fill;
// headerBytes may not touch them.
std::vector<bool> headerFieldBytes(const InstallerHeader &header);

// Implodes bytes with the codec, in the shortest stream unless fast asks
// for the quicker greedy coder: false when the codec refuses.
bool implodeBytes(const std::vector<uint8_t> &bytes, std::vector<uint8_t> &imploded, bool fast = false);

// Implodes bytes and keeps the stream in imploded only when it is smaller
// than the bytes themselves: true when they are to be stored imploded.
bool implodeWhenSmaller(const std::vector<uint8_t> &bytes, std::vector<uint8_t> &imploded,
                        bool fast = false);

#endif
