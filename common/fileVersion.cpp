// The version resource of a file, read through the system folder's
// version.dll: an import of it would be looked for beside the program first.
#include <windows.h>

#include <vector>

#include "common/QRX_FileUtils.h"
#include "common/librarySearch.h"
#include "common/logFile.h"

namespace {

typedef DWORD(WINAPI *GetFileVersionInfoSizeFunction)(LPCSTR, LPDWORD);
typedef BOOL(WINAPI *GetFileVersionInfoFunction)(LPCSTR, DWORD, DWORD, LPVOID);
typedef BOOL(WINAPI *VerQueryValueFunction)(LPCVOID, LPCSTR, LPVOID *, PUINT);

// The fixed part of the file's version resource into info; false without one.
bool readFixedVersion(HMODULE library, const std::string &filePath, VS_FIXEDFILEINFO &info) {
  const auto infoSize = reinterpret_cast<GetFileVersionInfoSizeFunction>(
      reinterpret_cast<void *>(GetProcAddress(library, "GetFileVersionInfoSizeA")));
  const auto infoOf = reinterpret_cast<GetFileVersionInfoFunction>(
      reinterpret_cast<void *>(GetProcAddress(library, "GetFileVersionInfoA")));
  const auto queryValue = reinterpret_cast<VerQueryValueFunction>(
      reinterpret_cast<void *>(GetProcAddress(library, "VerQueryValueA")));
  if (infoSize == nullptr || infoOf == nullptr || queryValue == nullptr) return false;
  DWORD ignored = 0;
  const DWORD size = infoSize(filePath.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<char> resource(size);
  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT fixedLength = 0;
  if (!infoOf(filePath.c_str(), 0, size, resource.data()) ||
      !queryValue(resource.data(), "\\", reinterpret_cast<void **>(&fixed), &fixedLength) ||
      fixed == nullptr || fixedLength < sizeof(VS_FIXEDFILEINFO))
    return false;
  info = *fixed;
  return true;
}

}  // namespace

void myGetFileVersion(const std::string &filePath, int32_t &major, int32_t &revision) {
  TraceScope trace("myGetFileVersion", filePath);
  HMODULE library = loadSystemLibrary("version.dll");
  VS_FIXEDFILEINFO info = {};
  if (library != nullptr && readFixedVersion(library, filePath, info)) {
    major = HIWORD(info.dwFileVersionMS);
    revision = HIWORD(info.dwFileVersionLS);
  }
  if (library != nullptr) FreeLibrary(library);
  trace.result(major);
}
