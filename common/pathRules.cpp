#include "common/pathRules.h"

#include "common/statusCodes.h"

std::string withTrailingBackslash(const std::string &path) {
  if (!path.empty() && path.back() == '\\') return path;
  return path + '\\';
}

int32_t folderFromSystemValue(const std::string &value, int32_t statusWhenEmpty,
                              std::string &folder) {
  if (value.empty()) return statusWhenEmpty;
  folder = withTrailingBackslash(value);
  return STATUS_OK;
}

std::string sysnativeFolderOf(const std::string &systemRoot) {
  return withTrailingBackslash(systemRoot) + "Sysnative\\";
}

std::string folderOfFile(const std::string &filePath) {
  const std::string::size_type end = filePath.find_last_of("\\:");
  if (end == std::string::npos) return std::string();
  return filePath.substr(0, end + 1);
}

namespace {

bool isScreenSaverFile(const std::string &filePath) {
  const std::string::size_type dot = filePath.find_last_of(".\\:");
  if (dot == std::string::npos || filePath[dot] != '.') return false;
  std::string extension = filePath.substr(dot);
  for (char &c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension == ".scr";
}

}  // namespace

int32_t deletionFailureStatus(const std::string &filePath) {
  return isScreenSaverFile(filePath) ? STATUS_SCREEN_SAVER_BUSY : STATUS_FILE_BUSY;
}

std::string subfolderEntryPath(const std::string &folder, const std::string &entryName) {
  std::string full = folder + entryName;
  // "." and ".." lead back to folder itself, which the caller skips.
  if (!full.empty() && full.back() == '.') {
    full.pop_back();
    if (!full.empty() && full.back() == '.') full.pop_back();
    return full;
  }
  return withTrailingBackslash(full);
}
