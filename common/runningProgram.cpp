#include "common/runningProgram.h"

#include <windows.h>

std::string ownProgramFile() {
  char path[MAX_PATH + 1] = "";
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return length == 0 || length >= sizeof path ? "" : path;
}

std::string runningProgramPath() {
  const std::string path = ownProgramFile();
  if (path.empty()) return "";
  char longPath[MAX_PATH + 1] = "";
  const DWORD longLength = GetLongPathNameA(path.c_str(), longPath, sizeof longPath);
  return longLength > 0 && longLength < sizeof longPath ? longPath : path;
}
