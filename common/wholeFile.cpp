#include "common/wholeFile.h"

#include <cerrno>
#include <cstdio>

static bool failed(FileReadFault *fault, const char *step, int code) {
  if (fault != nullptr) *fault = {step, code};
  return false;
}

// The file's length by seeking to its end, then one read of that many bytes.
bool readWholeFile(const std::string &path, std::vector<uint8_t> &bytes, FileReadFault *fault,
                   uint64_t largest) {
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return failed(fault, "open", errno);
  long length = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
  if (length >= 0 && static_cast<uint64_t>(length) > largest) {
    std::fclose(file);
    return failed(fault, "size", EFBIG);
  }
  bool read = length >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (read) {
    bytes.resize(static_cast<size_t>(length));
    read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  const int code = errno;
  std::fclose(file);
  return read ? true : failed(fault, "read", code);
}
