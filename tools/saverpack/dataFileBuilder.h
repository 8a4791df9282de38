// Building a screen saver data file: the settings record, the member table,
// and each member's header and stored bytes.
#ifndef SAVER_TOOLS_SAVERPACK_DATA_FILE_BUILDER_H
#define SAVER_TOOLS_SAVERPACK_DATA_FILE_BUILDER_H

#include "package/dataStructures_shared.h"

#include <cstdint>
#include <string>
#include <vector>

struct DataMember {
  std::string path;  // relative to the saver folder, "\" between folders
  uint8_t type = 0;  // MEMBER_TYPE_MOVIE_COPY: copied at install, nothing stored
  bool compressed = false;
  uint32_t attribute = 0;
  std::vector<uint8_t> bytes;     // the file as it is to be written
  std::vector<uint8_t> imploded;  // its implode stream when already made; else made here
};

// settings is the 1240-byte record to start with (all zero when empty); its
// memberCount is set here. False, with the reason, for too many members, a
// path that does not fit, a member that cannot be compressed or a file that
// outgrows the 32-bit offsets.
bool buildDataFile(const std::vector<uint8_t> &settings, const std::vector<DataMember> &members,
                   std::vector<uint8_t> &dataFile, std::string &error);

#endif
