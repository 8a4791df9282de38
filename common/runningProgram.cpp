#include "common/runningProgram.h"

#include <windows.h>

std::string runningProgramPath() {
  char path[MAX_PATH + 1] = "";
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return "";
  char longPath[MAX_PATH + 1] = "";
  const DWORD longLength = GetLongPathNameA(path, longPath, sizeof longPath);
  return longLength > 0 && longLength < sizeof longPath ? longPath : path;
}
