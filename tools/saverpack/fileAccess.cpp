#include "tools/saverpack/fileAccess.h"

#include "common/wholeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace fs = std::filesystem;

namespace {

std::string failure(const char *what, const std::string &path, int code) {
  return std::string("cannot ") + what + " \"" + path + "\": " + std::strerror(code);
}

bool writeFile(const std::string &path, const char *mode, const uint8_t *bytes, size_t count,
               std::string &error) {
  std::FILE *file = std::fopen(path.c_str(), mode);
  if (file == nullptr) {
    error = failure("create", path, errno);
    return false;
  }
  const bool written = count == 0 || std::fwrite(bytes, 1, count, file) == count;
  const int code = errno;
  if (std::fclose(file) != 0 || !written) {
    error = failure("write", path, written ? errno : code);
    std::remove(path.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool readWholeFile(const std::string &path, std::vector<uint8_t> &bytes, std::string &error) {
  std::error_code fault;
  if (fs::is_directory(path, fault)) {
    error = "cannot open \"" + path + "\": it is a folder";
    return false;
  }
  FileReadFault readFault = {"", 0};
  if (readWholeFile(path, bytes, &readFault)) return true;
  error = failure(readFault.step, path, readFault.code);
  return false;
}

bool withinSizeLimit(const std::string &key, const std::string &path, int64_t limit, const char *what,
                     std::string &error) {
  std::error_code fault;
  const uintmax_t size = fs::file_size(pathOfUtf8(path), fault);
  if (fault || size <= static_cast<uintmax_t>(limit)) return true;
  error = key + ": \"" + path + "\" is " + std::to_string(size) + " bytes, more than the largest " + what +
          " a package can carry (" + std::to_string(limit) + " bytes)";
  return false;
}

bool writeWholeFile(const std::string &path, const std::vector<uint8_t> &bytes, std::string &error) {
  const std::string partial = path + ".partial";
  if (!writeFile(partial, "wb", bytes.data(), bytes.size(), error)) return false;
  std::error_code fault;
  fs::rename(partial, path, fault);  // replaces an older output
  if (fault) {
    std::remove(partial.c_str());
    error = "cannot write \"" + path + "\": " + fault.message();
    return false;
  }
  return true;
}

bool writeNewFile(const fs::path &path, const std::vector<uint8_t> &bytes, std::string &error) {
  std::error_code fault;
  if (fs::exists(path, fault)) {
    error = '"' + path.string() + "\" exists already";
    return false;
  }
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), fault);
  if (fault) {
    error = "cannot create \"" + path.parent_path().string() + "\": " + fault.message();
    return false;
  }
  return writeFile(path.string(), "wb", bytes.data(), bytes.size(), error);
}

bool writeNewFile(const fs::path &path, const std::string &text, std::string &error) {
  return writeNewFile(path, std::vector<uint8_t>(text.begin(), text.end()), error);
}
