// The run log's file: opened once, checked through its handle, appended to
// line by line.
#include "common/runLog.h"

#include <windows.h>

#include "common/unicodeText.h"

namespace {

std::string fullPathOf(const std::string &path) {
  char full[MAX_PATH] = "";
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? std::string(full) : std::string();
}

UtcTime now() {
  SYSTEMTIME time;
  GetSystemTime(&time);
  return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

// Functions of Windows Vista and later, which the programs do not import so
// that they still start on older systems.
template <typename Function>
Function kernelFunction(const char *name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

// The path the system reached the open file by, links resolved, in the form
// GetFullPathName gives: without "\\?\", and "\\server" for "\\?\UNC\server".
// "" where the system cannot tell.
std::string finalPathOf(HANDLE file) {
  using FinalPath = DWORD(WINAPI *)(HANDLE, LPSTR, DWORD, DWORD);
  const FinalPath finalPath = kernelFunction<FinalPath>("GetFinalPathNameByHandleA");
  char path[MAX_PATH + 8] = "";
  const DWORD normalizedDosPath = 0;  // FILE_NAME_NORMALIZED | VOLUME_NAME_DOS
  const DWORD length = finalPath != nullptr ? finalPath(file, path, sizeof path, normalizedDosPath) : 0;
  if (length == 0 || length >= sizeof path) return std::string();
  std::string text(path, length);
  if (text.rfind("\\\\?\\UNC\\", 0) == 0) return "\\" + text.substr(7);
  if (text.rfind("\\\\?\\", 0) == 0) return text.substr(4);
  return text;
}

// The file is the one the path names: no link on the way and no other name.
// Where the system cannot tell the path it took (before Vista, which has no
// links to files), the file itself must be no link.
bool reachedDirectly(HANDLE file, const std::string &fullPath) {
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(file, &information)) return false;
  if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || information.nNumberOfLinks != 1)
    return false;
  const std::string finalPath = finalPathOf(file);
  if (finalPath.empty()) return kernelFunction<FARPROC>("GetFinalPathNameByHandleA") == nullptr;
  char longPath[MAX_PATH] = "";
  const DWORD length = GetLongPathNameA(fullPath.c_str(), longPath, sizeof longPath);
  return length > 0 && length < sizeof longPath && lstrcmpiA(finalPath.c_str(), longPath) == 0;
}

// Takes back a file this run made through a link: by its handle, so that the
// deletion cannot be sent elsewhere. Before Vista the file stays, empty.
void deleteByHandle(HANDLE file) {
  using SetInformation = BOOL(WINAPI *)(HANDLE, int, void *, DWORD);
  const SetInformation setInformation = kernelFunction<SetInformation>("SetFileInformationByHandle");
  const int fileDispositionInfo = 4;  // FILE_INFO_BY_HANDLE_CLASS
  BOOLEAN deleteFile = TRUE;          // FILE_DISPOSITION_INFO
  if (setInformation != nullptr) setInformation(file, fileDispositionInfo, &deleteFile, sizeof deleteFile);
}

}  // namespace

RunLog::~RunLog() {
  if (file_ != nullptr) CloseHandle(file_);
}

void RunLog::open(const std::string &path, const std::string &program) {
  path_ = path.empty() ? std::string() : fullPathOf(path);
  program_ = program;
  if (path_.empty()) return;
  // Appending only: every write goes to the end, whoever wrote last. DELETE
  // takes back a file made through a link; a log that may only be appended
  // to is opened without it.
  // The other program's handle may hold DELETE, which only a sharing that
  // allows it can open beside.
  const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE file = CreateFileA(path_.c_str(), FILE_APPEND_DATA | DELETE, sharing, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  const bool created = file != INVALID_HANDLE_VALUE && GetLastError() != ERROR_ALREADY_EXISTS;
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
    file = CreateFileA(path_.c_str(), FILE_APPEND_DATA, sharing, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  if (reachedDirectly(file, path_)) {
    file_ = file;
    return;
  }
  if (created) deleteByHandle(file);
  CloseHandle(file);
}

void RunLog::write(const std::string &text) const {
  if (file_ == nullptr) return;
  const std::string line = utf8OfEither(runLogLine(now(), program_, text)) + "\r\n";
  DWORD written = 0;
  WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
