#include "package/win32File.h"

#include "common/QRX_FileUtils.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"

int32_t ReadOnlyFile::open(const std::string &path) {
  close();
  handle_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) return static_cast<int32_t>(GetLastError());
  const int32_t status = readSize();
  if (status != STATUS_OK) close();
  return status;
}

int32_t ReadOnlyFile::readSize() {
  DWORD high = 0;
  const DWORD low = GetFileSize(handle_, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return static_cast<int32_t>(GetLastError());
  size_ = (static_cast<int64_t>(high) << 32) | low;
  return STATUS_OK;
}

int32_t ScratchFile::create(const std::string &path) {
  close();
  handle_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) return static_cast<int32_t>(GetLastError());
  size_ = 0;
  return STATUS_OK;
}

int32_t ReadOnlyFile::close() {
  if (handle_ == INVALID_HANDLE_VALUE) return STATUS_OK;
  const BOOL closed = CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  size_ = 0;
  return closed ? STATUS_OK : static_cast<int32_t>(GetLastError());
}

int32_t ReadOnlyFile::readAt(int64_t offset, void *buffer, uint32_t count, uint32_t &got) {
  got = 0;
  if (offset < 0 || offset >= size_ || count == 0) return STATUS_OK;
  // Seek and read rather than an offset in OVERLAPPED, which Windows 9x
  // does not honour for files.
  LONG high = static_cast<LONG>(offset >> 32);
  if (SetFilePointer(handle_, static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN) ==
          INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR)
    return static_cast<int32_t>(GetLastError());
  DWORD read = 0;
  if (!ReadFile(handle_, buffer, count, &read, nullptr)) return static_cast<int32_t>(GetLastError());
  got = read;
  return STATUS_OK;
}

int32_t writeNewFile(const std::string &path, const void *bytes, uint32_t count, bool &created) {
  created = false;
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return static_cast<int32_t>(GetLastError());
  created = true;
  DWORD written = 0;
  int32_t status = STATUS_OK;
  if (count > 0 && !WriteFile(file, bytes, count, &written, nullptr))
    status = static_cast<int32_t>(GetLastError());
  else if (written != count)
    status = STATUS_SHORT_ENTRY;
  if (!CloseHandle(file) && status == STATUS_OK) status = static_cast<int32_t>(GetLastError());
  return status;
}

bool lookUpFileSize(const std::string &path, int64_t &size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return false;
  size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

void ForceFolders(const std::string &path) {
  std::string folder = path;
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  if (folder.empty() || folderExists(folder)) return;
  const std::string parent = folderOfFile(folder);
  if (!parent.empty()) ForceFolders(parent);
  CreateDirectoryA(folder.c_str(), nullptr);
}

bool CopyFileForced(const std::string &source, const std::string &target, bool failIfExists) {
  if (pathExists(source)) SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
  const std::string targetFolder = folderOfFile(target);
  if (targetFolder.empty() || folderExists(targetFolder)) {
    if (pathExists(target)) SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  } else {
    ForceFolders(targetFolder);
  }
  return CopyFileA(source.c_str(), target.c_str(), failIfExists ? TRUE : FALSE) != 0;
}
