// patch-program-size FILE: stores FILE's length in its program-size mark.
// The tag must occur exactly once; anything else is an error.
#include "../common/programSize.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: patch-program-size FILE\n");
    return 2;
  }
  std::fstream file(argv[1], std::ios::in | std::ios::out | std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "patch-program-size: cannot open %s\n", argv[1]);
    return 1;
  }
  std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const char tag[] = PROGRAM_SIZE_TAG_FIRST PROGRAM_SIZE_TAG_SECOND;
  static_assert(sizeof(tag) == PROGRAM_SIZE_TAG_LENGTH, "tag length");

  size_t found = 0, at = 0;
  for (size_t i = 0; i + sizeof(ProgramSizeMark) <= bytes.size(); ++i) {
    if (std::memcmp(&bytes[i], tag, sizeof(tag)) == 0) {
      ++found;
      at = i;
    }
  }
  if (found != 1) {
    std::fprintf(stderr, "patch-program-size: %s holds the size tag %zu times, expected once\n", argv[1],
                 found);
    return 1;
  }
  const uint32_t size = static_cast<uint32_t>(bytes.size());
  const unsigned char little[4] = {static_cast<unsigned char>(size), static_cast<unsigned char>(size >> 8),
                                   static_cast<unsigned char>(size >> 16),
                                   static_cast<unsigned char>(size >> 24)};
  file.clear();
  file.seekp(static_cast<std::streamoff>(at + PROGRAM_SIZE_TAG_LENGTH));
  file.write(reinterpret_cast<const char *>(little), 4);
  return file ? 0 : 1;
}
