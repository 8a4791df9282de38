#include "tools/saverpack/programImage.h"

#include "common/programSize.h"

#include <algorithm>
#include <cstring>

bool findProgramSize(const std::vector<uint8_t> &bytes, size_t from, size_t to, uint32_t &size) {
  static const char tag[] = PROGRAM_SIZE_TAG_FIRST PROGRAM_SIZE_TAG_SECOND;
  if (to > bytes.size() || from > to || to - from < sizeof(ProgramSizeMark)) return false;
  const auto end = bytes.begin() + static_cast<std::ptrdiff_t>(to - sizeof(ProgramSizeMark) + sizeof(tag));
  const auto found = std::search(bytes.begin() + static_cast<std::ptrdiff_t>(from), end, tag,
                                 tag + sizeof(tag));
  if (found == end) return false;
  const uint8_t *value = &*found + PROGRAM_SIZE_TAG_LENGTH;
  size = static_cast<uint32_t>(value[0]) | static_cast<uint32_t>(value[1]) << 8 |
         static_cast<uint32_t>(value[2]) << 16 | static_cast<uint32_t>(value[3]) << 24;
  return true;
}

bool checkProgramSize(const std::vector<uint8_t> &program, const std::string &what,
                      std::string &error) {
  uint32_t recorded = 0;
  if (!findProgramSize(program, 0, program.size(), recorded)) {
    error = what + " has no program size constant";
    return false;
  }
  if (recorded != program.size()) {
    error = what + " records " + std::to_string(recorded) + " bytes as its size but is " +
            std::to_string(program.size()) + " bytes long";
    return false;
  }
  return true;
}
