#include "tools/saverpack/fileLayers.h"

#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "common/statusCodes.h"
#include "package/dataFileFormat.h"
#include "package/packageFormat.h"
#include "tools/saverpack/programImage.h"

#include <cstring>

static bool startsProgram(const std::vector<uint8_t> &file, size_t offset) {
  return offset + 2 <= file.size() && file[offset] == 'M' && file[offset + 1] == 'Z';
}

FileKind findLayers(const std::vector<uint8_t> &file, FileLayers &layers, std::string &error) {
  std::memset(&layers.header, 0, sizeof(layers.header));
  uint32_t outerSize = 0;
  if (!findProgramSize(file, 0, file.size(), outerSize)) {
    MemorySource source(file.data(), file.size());
    SaverSettings settings;
    return readSaverSettings(source, settings) == STATUS_OK ? FileKind::DataFile : FileKind::Unknown;
  }
  if (outerSize > file.size()) return FileKind::Unknown;
  layers.installerSize = outerSize;
  if (startsProgram(file, outerSize)) {
    layers.launcherSize = outerSize;
    layers.installerOffset = outerSize;
    uint32_t installerSize = 0;
    if (!findProgramSize(file, outerSize, file.size(), installerSize) ||
        installerSize > file.size() - outerSize) {
      error = "appended program has no valid size constant";
      return FileKind::Installer;
    }
    layers.installerSize = installerSize;
  }
  MemorySource package(file.data() + layers.installerOffset, file.size() - layers.installerOffset);
  layers.headerStatus = readInstallerHeader(package, layers.installerSize, layers.header);
  layers.headerRead = layers.headerStatus == STATUS_OK;
  return FileKind::Installer;
}

bool entryStoredBytes(const std::vector<uint8_t> &file, const FileLayers &layers, int index,
                      std::vector<uint8_t> &stored, std::string &error) {
  MemorySource package(file.data() + layers.installerOffset, file.size() - layers.installerOffset);
  if (readEntryBytes(package, layers.header.entries[index], stored) == STATUS_OK) return true;
  error = "entry " + std::to_string(index) + ": its stored bytes lie outside the file";
  return false;
}

bool expandStored(const std::vector<uint8_t> &stored, bool compressed, int32_t expandedSize,
                  std::vector<uint8_t> &expanded, std::string &error) {
  if (!compressed) {
    expanded = stored;
    return true;
  }
  if (dcl::explodeBuffer(stored.data(), stored.size(), expanded) != dcl::CMP_NO_ERROR) {
    error = "its implode stream is damaged";
    return false;
  }
  if (expanded.size() != static_cast<size_t>(expandedSize)) {
    error =
        "it expands to " + std::to_string(expanded.size()) + " bytes, not " + std::to_string(expandedSize);
    return false;
  }
  return true;
}
