#include "package/fileOperations.h"

#include "common/QRX_FileUtils.h"

#include <windows.h>

std::string folderOf(const std::string &path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

void ForceFolders(const std::string &path) {
  std::string folder = path;
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  if (folder.empty() || folderExists(folder)) return;
  const std::string parent = folderOf(folder);
  if (!parent.empty()) ForceFolders(parent);
  CreateDirectoryA(folder.c_str(), nullptr);
}

bool CopyFileForced(const std::string &source, const std::string &target, bool failIfExists) {
  if (pathExists(source)) SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
  const std::string targetFolder = folderOf(target);
  if (targetFolder.empty() || folderExists(targetFolder)) {
    if (pathExists(target)) SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  } else {
    ForceFolders(targetFolder);
  }
  return CopyFileA(source.c_str(), target.c_str(), failIfExists ? TRUE : FALSE) != 0;
}
