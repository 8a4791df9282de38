#include "tools/saverpack/programImage.h"

#include "common/programSize.h"

#include <algorithm>
#include <cstring>

std::string programSizeTag() {
  // Joined at run time: a program that links this code must still hold the
  // whole tag only in its own mark.
  std::string tag = PROGRAM_SIZE_TAG_FIRST;
  tag += PROGRAM_SIZE_TAG_SECOND;
  tag.push_back('\0');
  return tag;
}

bool findProgramSize(const std::vector<uint8_t> &bytes, size_t from, size_t to, uint32_t &size) {
  const std::string tag = programSizeTag();
  if (to > bytes.size() || from > to || to - from < sizeof(ProgramSizeMark)) return false;
  const auto end = bytes.begin() + static_cast<std::ptrdiff_t>(to - sizeof(ProgramSizeMark) + tag.size());
  const auto found =
      std::search(bytes.begin() + static_cast<std::ptrdiff_t>(from), end, tag.begin(), tag.end());
  if (found == end) return false;
  const uint8_t *value = &*found + PROGRAM_SIZE_TAG_LENGTH;
  size = static_cast<uint32_t>(value[0]) | static_cast<uint32_t>(value[1]) << 8 |
         static_cast<uint32_t>(value[2]) << 16 | static_cast<uint32_t>(value[3]) << 24;
  return true;
}

bool checkProgramSize(const std::vector<uint8_t> &program, const std::string &what, std::string &error) {
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
