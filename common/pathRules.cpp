#include "common/pathRules.h"

#include "common/statusCodes.h"

#include <cctype>

std::string withTrailingBackslash(const std::string &path) {
  if (!path.empty() && path.back() == '\\') return path;
  return path + '\\';
}

int32_t folderFromSystemValue(const std::string &value, int32_t statusWhenEmpty, std::string &folder) {
  if (value.empty()) return statusWhenEmpty;
  folder = withTrailingBackslash(value);
  return STATUS_OK;
}

std::string sysnativeFolderOf(const std::string &systemRoot) {
  return withTrailingBackslash(systemRoot) + "Sysnative\\";
}

std::string folderOfFile(const std::string &filePath) {
  const std::string::size_type end = filePath.find_last_of("\\/:");
  if (end == std::string::npos) return std::string();
  return filePath.substr(0, end + 1);
}

std::string fileNamePart(const std::string &path) { return path.substr(folderOfFile(path).size()); }

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

bool isFullPath(const std::string &path) {
  const auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
  if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')
    return isSeparator(path[2]);
  return path.size() >= 3 && isSeparator(path[0]) && isSeparator(path[1]) && !isSeparator(path[2]);
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

// Windows drops trailing dots and spaces from a path part, so "..", "..." and
// ". ." all climb to the parent folder; a lone "." stays where it is.
static bool climbsUp(const std::string &part) {
  return part.size() > 1 && part.find_first_not_of(". ") == std::string::npos &&
         part.find('.') != std::string::npos;
}

// The port number of "COM<n>" and "LPT<n>": a digit 1 to 9, or one of the
// superscripts one to three, which Windows takes for the same ports. Names
// are in the Windows code page, where those are the bytes B9, B2 and B3.
static bool isPortNumber(char c) {
  const unsigned char code = static_cast<unsigned char>(c);
  return (code >= '1' && code <= '9') || code == 0xB9 || code == 0xB2 || code == 0xB3;
}

// "CON", "nul.txt", "COM1" and the like open a device instead of a file.
static bool namesDevice(const std::string &part) {
  std::string base = part.substr(0, part.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char &c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         isPortNumber(base[3]);
}

bool isSafeEntryName(const std::string &name) {
  return !name.empty() && name != "." && !climbsUp(name) && !namesDevice(name) &&
         name.find_first_of("\\/:") == std::string::npos;
}

bool isSafeMemberPath(const std::string &path) {
  if (path.empty() || path[0] == '\\' || path[0] == '/' || path.find(':') != std::string::npos)
    return false;
  size_t partStart = 0;
  while (partStart <= path.size()) {
    size_t partEnd = path.find_first_of("\\/", partStart);
    if (partEnd == std::string::npos) partEnd = path.size();
    const std::string part = path.substr(partStart, partEnd - partStart);
    if (climbsUp(part) || namesDevice(part)) return false;
    partStart = partEnd + 1;
  }
  return true;
}
