// Reading a whole file into memory, for the programs and the packer alike.
// Portable (the C library's files).
#ifndef SAVER_COMMON_WHOLE_FILE_H
#define SAVER_COMMON_WHOLE_FILE_H

#include <cstdint>
#include <string>
#include <vector>

// Which step failed and the C library's error code (errno) it left.
struct FileReadFault {
  const char *step;  // "open", "size" (longer than allowed, code EFBIG) or "read"
  int code;
};

// Reads the file at path into bytes; an empty file gives no bytes. False on
// failure, with its step and code in *fault when fault is given. A file of
// more than largest bytes is not read: the programs end on a failed
// allocation, so they name a length they can hold.
bool readWholeFile(const std::string &path, std::vector<uint8_t> &bytes, FileReadFault *fault = nullptr,
                   uint64_t largest = UINT64_MAX);

#endif
