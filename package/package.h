// Package: the installer's own package, opened once when the run starts and
// read through that one handle to the end. While it is open, others may read
// the file but not write, rename or delete it, so the bytes the integrity
// check saw are the bytes every later step reads: the header, every entry,
// and the data file with its members. A data file stored plain is read where
// it lies; an imploded one is expanded into a work file that stays open, and
// is read back through the handle that wrote it. The decompression library
// that the package carries is loaded once, at the first expansion.
#ifndef SAVER_PACKAGE_PACKAGE_H
#define SAVER_PACKAGE_PACKAGE_H

#include "package/dataStructures_shared.h"
#include "package/installNames.h"
#include "package/installObserver.h"
#include "package/integrityRecord.h"
#include "package/packageFailure.h"
#include "package/packageFormat.h"
#include "package/packageProperties.h"
#include "package/posterRange.h"
#include "package/pk_stuff.h"
#include "package/win32File.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Package {
 public:
  Package() = default;
  Package(const Package &) = delete;
  Package &operator=(const Package &) = delete;

  // Opens the package file: 0 or the system's code. workFolder is where
  // entry 1 puts the decompression library.
  int32_t open(const std::string &path, const std::string &workFolder);
  // Closes the data file and the package, and frees the library.
  void close();
  bool isOpen() const { return file_.isOpen(); }

  // Reads the header behind programSize and checks the program and package
  // against their integrity record, then reads the package's properties. STATUS_PACKAGE_DAMAGED is returned
  // with nothing to tell: the end of the start-up tells it. Other failures are told with the package's
  // path.
  int32_t readHeader(uint32_t programSize, Failures &failures);
  const InstallerHeader &header() const { return header_; }
  // What the package states of itself, read with the header.
  const PackageProperties &properties() const { return properties_; }
  // The poster's bytes, through the open file (package/posterRange.h).
  int32_t readPoster(std::vector<uint8_t> &poster) {
    return ::readPoster(file_, programSize_, properties_, poster);
  }

  // Writes entry index (0..10) to its target; STATUS_ENTRY_ABSENT (told,
  // without a path) for an absent entry. A busy destination is left in
  // place and counts as success; a library's own write failures have nothing
  // to tell. The data file's entry, when its target says so, is kept for
  // the member steps instead of being written by name.
  int32_t extractEntry(int index, const EntryTarget &target, Failures &failures);

  // The data file kept by extractEntry; dataFile is its path, for messages.
  // readSaverSettings reads its settings record; openDataFile its settings
  // and member table, and readies it for expandMember. A second open is
  // refused, told, and returns 0.
  int32_t readSaverSettings(const std::string &dataFile, Failures &failures);
  int32_t openDataFile(const std::string &dataFile, Failures &failures);
  bool dataFileOpen() const { return dataOpen_; }
  const SaverSettings &settings() const { return settings_; }
  const DataMemberRecord &member(int index) const { return members_[index]; }
  // What each member expands to, as its header states, once the data file
  // is open; a member whose header cannot be read counts nothing here and
  // fails at its own step.
  std::vector<uint32_t> memberExpandedSizes();
  // Makes member 1 a copy of the installer movie, as the settings ask.
  void markFirstMemberMovieCopy() { members_[1].memberType = MEMBER_TYPE_MOVIE_COPY; }

  // Writes member memberIndex to targetFolder + its path.
  // STATUS_MEMBER_INDEX_TOO_HIGH for an index outside 1..memberCount,
  // STATUS_DATA_FILE_NOT_OPEN before openDataFile, STATUS_UNSAFE_NAME for a
  // path that leaves the folder; a failed member leaves no file behind. Read
  // errors, a refused path and a damaged member are told; the other
  // statuses are the caller's to tell.
  // The watching observer is paused between the blocks of a long member:
  // its "Cancel" stops the member with STATUS_USER_ABORT, its file removed.
  int32_t expandMember(const std::string &targetFolder, int memberIndex, InstallObserver &watching,
                       Failures &failures);
  // The attribute byte of the member written last.
  uint8_t lastMemberAttribute() const { return lastAttribute_; }

  // Ends the member steps; the kept work file is closed too, so that it can
  // be deleted.
  int32_t closeDataFile(Failures &failures);

 private:
  int32_t extractPresentEntry(int index, const EntryTarget &target, Failures &failures);
  int32_t writeEntry(const PackageEntry &entry, ByteSource &stored, const std::string &destination,
                     Failures &failures);
  int32_t keepDataFile(const PackageEntry &entry, const EntryTarget &target, SliceSource &stored,
                       Failures &failures);
  int32_t expandToFile(const std::string &target, ByteSource &stored, int32_t expandedSize,
                       const ExpandedCrc &expected, InstallObserver *watching, Failures &failures);
  int32_t writeMember(const std::string &target, const DataMemberHeader &header, ByteSource &stored,
                      InstallObserver &watching, bool &created, Failures &failures);
  // Whether the bytes from start lie in the part of the file that the
  // integrity check found intact.
  bool checkedByPackageCrc(int64_t start, int64_t length) const;
  // The library, loaded at its first use from where entry 1 was written.
  TCompressor *codec();

  ReadOnlyFile file_;
  std::string path_;
  InstallerHeader header_{};
  uint32_t programSize_ = 0;  // where the package starts in the file
  int64_t checkedBytes_ = 0;  // from there, what the package's CRC covered; 0 unchecked
  PackageProperties properties_;
  std::string workFolder_;  // where entry 1 puts the library
  std::unique_ptr<TCompressor> codec_;

  // The data file: a slice of the package, or of the kept work file.
  ScratchFile expandedData_;
  SliceSource data_;
  bool dataKept_ = false;
  bool dataOpen_ = false;
  SaverSettings settings_{};
  DataMemberRecord members_[MEMBER_TABLE_SIZE] = {};  // index 0 unused
  uint8_t lastAttribute_ = 0;
};

// Who the package behind programSize in file is for, read before anything
// is checked: it only decides whether the run asks for administrator
// rights, and the run checks the package whole all the same. Machine for a
// file that cannot be read.
InstallScope installScopeOfFile(const std::string &file, uint32_t programSize);

#endif
