#include "tools/saverpack/installerFile.h"

#include "package/installNames.h"
#include "package/integrityRecord.h"
#include "package/packageLimits.h"
#include "tools/saverpack/dataFileWriter.h"
#include "tools/saverpack/integrityStamp.h"
#include "tools/saverpack/programImage.h"
#include "tools/saverpack/shrinkTrial.h"
#include "tools/saverpack/storedFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

// A file being written beside its final name: removed unless it is moved
// over that name complete.
class PartialFile {
 public:
  explicit PartialFile(std::string path)
      : path_(std::move(path)), file_(std::fopen(path_.c_str(), "w+b")) {}
  ~PartialFile() {
    if (file_ != nullptr) std::fclose(file_);
    if (!kept_) std::remove(path_.c_str());
  }
  PartialFile(const PartialFile &) = delete;
  PartialFile &operator=(const PartialFile &) = delete;

  std::FILE *file() const { return file_; }
  const std::string &path() const { return path_; }

  // Closes the file, cut to size bytes (an abandoned implode stream may
  // reach further), and renames it to finalPath.
  bool keepAs(const std::string &finalPath, int64_t size, std::string &error) {
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    std::error_code fault;
    if (closed) fs::resize_file(pathOfUtf8(path_), static_cast<uintmax_t>(size), fault);
    if (closed && !fault) fs::rename(pathOfUtf8(path_), pathOfUtf8(finalPath), fault);
    if (!closed || fault) {
      error = "cannot write \"" + finalPath + "\": " + (fault ? fault.message() : std::strerror(errno));
      return false;
    }
    kept_ = true;
    return true;
  }

 private:
  std::string path_;
  std::FILE *file_;
  bool kept_ = false;
};

// The package as it is written: its header, filled as entries are stored
// behind it, and the CRCs the integrity record takes.
struct PackageWriter {
  std::FILE *file;
  int64_t programStart;  // the installer program's first byte in the file
  InstallerHeader header;
  Progress *progress;
  BuildNotes *notes;
  int64_t bodySize = 0;  // the entries' bytes behind the header
  uint32_t bodyCrc = 0;
  uint32_t expandedCrcs[PACKAGE_ENTRY_COUNT] = {};
};

// Points the entry at what was just stored, and tells of it.
bool placeStored(PackageWriter &writer, CarriedFile &file, const StoredFile &stored, std::string &error) {
  const int64_t start = positionOf(writer.file) - stored.storedSize - writer.programStart;
  file.compressed = stored.compressed;
  if (!placeEntry(file, start, stored.storedSize, stored.expandedSize, writer.header, error)) return false;
  writer.expandedCrcs[file.index] = stored.expandedCrc;
  writer.bodyCrc = crc32Combine(writer.bodyCrc, stored.storedCrc, stored.storedSize);
  writer.bodySize += stored.storedSize;
  if (writer.progress != nullptr)
    writer.progress->fileDone("entry " + std::to_string(file.index) + " " + file.name,
                              static_cast<uint64_t>(stored.expandedSize),
                              static_cast<uint64_t>(stored.storedSize));
  return true;
}

// Stores a file as an entry; noteKey names it when imploding would not
// have made it smaller.
bool storeEntry(PackageWriter &writer, CarriedFile file, const std::string &key, const std::string &source,
                bool fastImplode, const std::string &noteKey, std::string &error) {
  StoredFile stored;
  const bool compress = file.compressed && firstBlockShrinks(source, fastImplode);
  if (!storeFile(source, compress, fastImplode, writer.file, stored, error)) {
    error = key + ": " + error;
    return false;
  }
  if (file.compressed && stored.expandedSize != 0 && !stored.compressed && writer.notes != nullptr)
    writer.notes->storedPlain.push_back(noteKey);
  if (writer.progress != nullptr)
    writer.progress->inputRead(static_cast<uint64_t>(stored.expandedSize), stored.readSeconds);
  return placeStored(writer, file, stored, error);
}

bool storePlannedEntry(PackageWriter &writer, const EntryPlan &planned, bool fastImplode,
                       std::string &error) {
  CarriedFile file;
  file.index = planned.index;
  file.name = planned.name;
  file.destKind = planned.destKind;
  file.compressed = planned.compressed;
  if (planned.implodedPath.empty())
    return withinSizeLimit(planned.key + ".file", planned.sourcePath, MAX_ENTRY_BYTES, "entry", error) &&
           storeEntry(writer, file, planned.key + ".file", planned.sourcePath, fastImplode,
                      planned.key + " (" + planned.name + ")", error);
  StoredFile stored;
  if (!storeImploded(planned.implodedPath, writer.file, stored, error)) {
    error = planned.key + ".imploded: " + error;
    return false;
  }
  return placeStored(writer, file, stored, error);
}

// Implodes the data file at `at` in output through a scratch file, and
// copies the stream over it when smaller; stored tells which it is.
bool implodeInPlace(std::FILE *output, int64_t at, bool fast, const std::string &scratchPath,
                    StoredFile &stored, std::string &error) {
  if (!firstBlockShrinks(output, at, fast)) return true;
  PartialFile scratch(scratchPath);
  if (scratch.file() == nullptr) {
    error = "cannot create \"" + scratchPath + "\": " + std::strerror(errno);
    return false;
  }
  StoredFile imploded;
  if (!implodeSpan(output, at, stored.expandedSize, fast, scratch.file(), imploded, error)) {
    if (!error.empty()) error = "dataFile: " + error;
    return error.empty();
  }
  if (!seekTo(scratch.file(), 0) || !seekTo(output, at) ||
      !copyBytes(scratch.file(), output, imploded.storedSize)) {
    error = "cannot write the data file's implode stream: " + std::string(std::strerror(errno));
    return false;
  }
  stored = imploded;
  return true;
}

// Writes the data file in place as entry 8, imploded when asked and that
// makes it smaller.
bool storeDataFile(PackageWriter &writer, const BuildPlan &plan, const std::string &outputPath,
                   std::string &error) {
  const int64_t at = positionOf(writer.file);
  int64_t size = 0;
  uint32_t crc = 0;
  if (!writeDataFile(plan.dataFile, plan.fastImplode, writer.file, size, crc, error, writer.progress,
                     writer.notes))
    return false;
  StoredFile stored{false, size, crc, size, crc, 0};
  const bool compress = plan.dataFile.compressed && size > 0;
  if (compress &&
      !implodeInPlace(writer.file, at, plan.fastImplode, outputPath + ".data.partial", stored, error))
    return false;
  if (compress && !stored.compressed && writer.notes != nullptr)
    writer.notes->storedPlain.push_back("dataFile");
  CarriedFile file;
  file.index = ENTRY_DATA_FILE;
  file.name = plan.dataFile.name;
  file.destKind = DEST_WORK_FOLDER;
  return seekTo(writer.file, at + stored.storedSize) && placeStored(writer, file, stored, error);
}

bool storeEntries(PackageWriter &writer, const BuildPlan &plan, const std::string &outputPath,
                  std::string &error) {
  CarriedFile codec;
  codec.index = ENTRY_CODEC_LIBRARY;
  codec.name = CODEC_LIBRARY_ENTRY;
  codec.destKind = DEST_WORK_FOLDER_LIBRARY;
  if (!storeEntry(writer, codec, "codecLibrary", plan.codecLibraryPath, false, "", error)) return false;
  for (const EntryPlan &planned : plan.entries)
    if (!storePlannedEntry(writer, planned, plan.fastImplode, error)) return false;
  return !plan.hasDataFile || storeDataFile(writer, plan, outputPath, error);
}

// Writes the poster and property record behind the entries, then the
// header, stamped, in front of them; size is the file's length.
bool finishOutput(PackageWriter &writer, const BuildPlan &plan, const std::vector<uint8_t> &installer,
                  int64_t &size, std::string &error) {
  std::vector<uint8_t> package;
  const int64_t tailBase = static_cast<int64_t>(installer.size()) + writer.bodySize;
  if (!finishPackage(plan.flags, writer.header, static_cast<uint32_t>(tailBase), package, error))
    return false;
  InstallerHeader header;
  std::memcpy(&header, package.data(), sizeof(header));
  for (int index = 0; index < PACKAGE_ENTRY_COUNT; ++index)
    if (entryPresent(header.entries[index]))
      setEntryExpandedCrc(header.entries[index], writer.expandedCrcs[index]);
  const size_t tailSize = package.size() - sizeof(header);
  const uint32_t behind = crc32Combine(writer.bodyCrc, crc32Of(package.data() + sizeof(header), tailSize),
                                       static_cast<int64_t>(tailSize));
  const int64_t packageLength =
      static_cast<int64_t>(sizeof(header)) + writer.bodySize + static_cast<int64_t>(tailSize);
  if (!sealPackageHeader(header, installer, static_cast<uint32_t>(packageLength), behind, error))
    return false;
  const int64_t headerAt = writer.programStart + static_cast<int64_t>(installer.size());
  if (!seekTo(writer.file, headerAt + static_cast<int64_t>(sizeof(header)) + writer.bodySize) ||
      std::fwrite(package.data() + sizeof(header), 1, tailSize, writer.file) != tailSize ||
      !seekTo(writer.file, headerAt) ||
      std::fwrite(&header, 1, sizeof(header), writer.file) != sizeof(header)) {
    error = std::string("cannot write the output: ") + std::strerror(errno);
    return false;
  }
  size = headerAt + packageLength;
  return true;
}

bool readProgram(const std::string &key, const std::string &path, std::vector<uint8_t> &bytes,
                 std::string &error) {
  if (!readWholeFile(path, bytes, error)) {
    error = key + ": " + error;
    return false;
  }
  return checkProgramSize(bytes, key + ": " + path, error);
}

}  // namespace

bool writeInstallerFile(const BuildPlan &plan, const std::string &outputPath, int64_t &size,
                        std::string &error, Progress *progress, BuildNotes *notes) {
  std::vector<uint8_t> launcher, installer;
  if ((!plan.launcherPath.empty() && !readProgram("launcher", plan.launcherPath, launcher, error)) ||
      !readProgram("installer", plan.installerPath, installer, error))
    return false;
  PartialFile output(outputPath + ".partial");
  if (output.file() == nullptr) {
    error = "cannot create \"" + output.path() + "\": " + std::strerror(errno);
    return false;
  }
  PackageWriter writer{output.file(), static_cast<int64_t>(launcher.size()), headerOfFlags(plan.flags),
                       progress, notes};
  const InstallerHeader room = {};
  // Without a launcher there is nothing to write, and no buffer to name.
  if ((!launcher.empty() &&
       std::fwrite(launcher.data(), 1, launcher.size(), output.file()) != launcher.size()) ||
      std::fwrite(installer.data(), 1, installer.size(), output.file()) != installer.size() ||
      std::fwrite(&room, 1, sizeof(room), output.file()) != sizeof(room)) {
    error = "cannot write \"" + output.path() + "\": " + std::strerror(errno);
    return false;
  }
  return storeEntries(writer, plan, outputPath, error) &&
         finishOutput(writer, plan, installer, size, error) && output.keepAs(outputPath, size, error);
}

bool buildInstallerFile(const BuildPlan &plan, std::vector<uint8_t> &output, std::string &error,
                        Progress *progress, BuildNotes *notes) {
  std::random_device random;
  const fs::path scratch =
      fs::temp_directory_path() / ("saverpack-build-" + std::to_string(random()) + ".exe");
  int64_t size = 0;
  const bool built = writeInstallerFile(plan, utf8Of(scratch), size, error, progress, notes) &&
                     readWholeFile(utf8Of(scratch), output, error);
  std::error_code ignored;
  fs::remove(scratch, ignored);
  return built;
}
