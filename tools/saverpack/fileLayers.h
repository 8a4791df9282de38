// The layers of a file that saverpack made: [launcher] installer program,
// package header and stored entries; or a data file alone.
#ifndef SAVER_TOOLS_SAVERPACK_FILE_LAYERS_H
#define SAVER_TOOLS_SAVERPACK_FILE_LAYERS_H

#include "package/dataStructures_shared.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class FileKind { Unknown, DataFile, Installer };

struct FileLayers {
  size_t launcherSize = 0;  // 0: no launcher in front
  size_t installerOffset = 0;
  uint32_t installerSize = 0;  // the installer program; the package follows it
  bool headerRead = false;     // false: headerStatus says why
  int32_t headerStatus = 0;
  InstallerHeader header;
};

// Recognises the file. For an installer, fills layers and reads the header
// (entries' offsets count from installerOffset). error says why a program
// layer is broken ("appended program has no valid size constant").
FileKind findLayers(const std::vector<uint8_t> &file, FileLayers &layers, std::string &error);

// The stored bytes of an entry, and the file they expand to (the stored
// bytes themselves for a plain entry). False, with the reason, when they lie
// outside the file or do not explode to expandedSize.
bool entryStoredBytes(const std::vector<uint8_t> &file, const FileLayers &layers, int index,
                      std::vector<uint8_t> &stored, std::string &error);
bool expandStored(const std::vector<uint8_t> &stored, bool compressed, int32_t expandedSize,
                  std::vector<uint8_t> &expanded, std::string &error);

#endif
