// The run log's file: opened, appended to and closed for each line, so that
// no handle is held while the other program writes.
#include "common/runLog.h"

#include <windows.h>

namespace {

std::string fullPathOf(const std::string &path) {
  char full[MAX_PATH] = "";
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? std::string(full) : std::string();
}

// The programs' texts are in the system code page; the log is UTF-8.
std::string utf8Of(const std::string &text) {
  if (text.empty()) return text;
  const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wideText(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wideText.data(), wide);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wideText.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wideText.data(), wide, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

UtcTime now() {
  SYSTEMTIME time;
  GetSystemTime(&time);
  return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

}  // namespace

void RunLog::open(const std::string &path, const std::string &program) {
  path_ = path.empty() ? std::string() : fullPathOf(path);
  program_ = program;
}

void RunLog::write(const std::string &text) const {
  if (path_.empty()) return;
  // Appending only: every write goes to the end, whoever wrote last.
  HANDLE file = CreateFileA(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string line = utf8Of(runLogLine(now(), program_, text)) + "\r\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}
