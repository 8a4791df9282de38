#include "common/adminFolder.h"

#include <windows.h>
#include <sddl.h>

#include "common/QRX_FileUtils.h"
#include "common/folderSecurity.h"
#include "common/logFile.h"
#include "common/saverScope.h"
#include "common/statusCodes.h"
#include "common/workFolder.h"

namespace {

const size_t RANDOM_NAME_BYTES = 8;
const char WORK_FOLDER_PREFIX[] = "QRP";
const int RANDOM_NAME_ATTEMPTS = 10;

typedef BOOL(WINAPI *StringToDescriptorEntry)(LPCSTR, DWORD, PSECURITY_DESCRIPTOR *, PULONG);
typedef BOOL(WINAPI *SidToStringEntry)(PSID, LPSTR *);
typedef BOOLEAN(WINAPI *RandomEntry)(PVOID, ULONG);

// Looked up at run time: Windows 9x's advapi32 has none of these.
template <typename Entry>
Entry advapiEntry(const char *name) {
  const HMODULE library = GetModuleHandleA("advapi32.dll");
  if (library == nullptr) return nullptr;
  return reinterpret_cast<Entry>(reinterpret_cast<void *>(GetProcAddress(library, name)));
}

// The process token's user as SID text; empty where there is none.
std::string processUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::string();
  union {
    TOKEN_USER user;
    char bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  } buffer;
  DWORD length = 0;
  const bool found = GetTokenInformation(token, TokenUser, &buffer, sizeof buffer, &length) != FALSE;
  CloseHandle(token);
  const SidToStringEntry sidToString = advapiEntry<SidToStringEntry>("ConvertSidToStringSidA");
  char *text = nullptr;
  if (!found || sidToString == nullptr || !sidToString(buffer.user.User.Sid, &text)) return std::string();
  std::string sid = text;
  LocalFree(text);
  return sid;
}

// The administrators-only descriptor in the system's form, freed with the
// scope; empty (get() == nullptr) where the system has no access control.
class AdminDescriptor {
 public:
  AdminDescriptor() {
    // The user's own saver runs without administrator rights: its folders
    // are the user's, as the profile's are.
    if (userSaverScope()) return;
    const StringToDescriptorEntry convert =
        advapiEntry<StringToDescriptorEntry>("ConvertStringSecurityDescriptorToSecurityDescriptorA");
    const std::string text = adminOnlyFolderDescriptor(processUserSid());
    logLine("admin-only folder descriptor: " + text);
    if (convert != nullptr && !convert(text.c_str(), SDDL_REVISION_1, &descriptor_, nullptr))
      descriptor_ = nullptr;
  }
  ~AdminDescriptor() {
    if (descriptor_ != nullptr) LocalFree(descriptor_);
  }
  AdminDescriptor(const AdminDescriptor &) = delete;
  AdminDescriptor &operator=(const AdminDescriptor &) = delete;
  PSECURITY_DESCRIPTOR get() const { return descriptor_; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

std::string withoutTrailingBackslash(const std::string &path) {
  return !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
}

// The folder itself, not what a link in its place points to; the handle,
// shared for neither deletion nor renaming, keeps it from being swapped while
// it is checked and changed.
HANDLE openFolderItself(const std::string &folder, DWORD access) {
  return CreateFileA(folder.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// 0 for a folder that is no link; a file of the folder's name is no folder
// and is left as it is.
int32_t folderStatus(HANDLE folder) {
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(folder, &information)) return static_cast<int32_t>(GetLastError());
  if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return STATUS_FOLDER_IS_LINK;
  if (!(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return SYSTEM_ERROR_ALREADY_EXISTS;
  return STATUS_OK;
}

// Sets owner and access list; the caller's handle on the folder keeps it
// from being swapped meanwhile. The list is marked protected; what the folder
// already holds keeps its own lists.
int32_t takeOver(const std::string &folder, PSECURITY_DESCRIPTOR descriptor) {
  if (SetFileSecurityA(folder.c_str(), OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, descriptor))
    return STATUS_OK;
  return static_cast<int32_t>(GetLastError());
}

// The folder as it stands: refused when it is a link, otherwise given the
// descriptor when there is one.
int32_t checkAndTakeOver(const std::string &folder, PSECURITY_DESCRIPTOR descriptor) {
  if (isLink(folder)) return STATUS_FOLDER_IS_LINK;
  const HANDLE opened = openFolderItself(folder, FILE_READ_ATTRIBUTES);
  if (opened == INVALID_HANDLE_VALUE) return static_cast<int32_t>(GetLastError());
  int32_t status = folderStatus(opened);
  if (status == STATUS_OK && descriptor != nullptr) status = takeOver(folder, descriptor);
  CloseHandle(opened);
  return status;
}

int32_t makeFolder(const std::string &folder, PSECURITY_DESCRIPTOR descriptor) {
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
  if (CreateDirectoryA(folder.c_str(), descriptor != nullptr ? &attributes : nullptr)) return STATUS_OK;
  return static_cast<int32_t>(GetLastError());
}

}  // namespace

bool isLink(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(withoutTrailingBackslash(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool linkOnPath(const std::string &root, const std::string &path) {
  if (path.size() < root.size() || lstrcmpiA(path.substr(0, root.size()).c_str(), root.c_str()) != 0)
    return true;
  for (size_t end = path.find('\\', root.size()); end != std::string::npos; end = path.find('\\', end + 1))
    if (isLink(path.substr(0, end))) return true;
  return isLink(path);
}

int32_t createAdminFolder(const std::string &folder) {
  TraceScope trace("createAdminFolder", folder);
  const AdminDescriptor descriptor;
  int32_t status = makeFolder(withoutTrailingBackslash(folder), descriptor.get());
  // Made by us, so only a link swapped in since can fail this check.
  if (status == STATUS_OK) status = checkAndTakeOver(withoutTrailingBackslash(folder), nullptr);
  return trace.result(status);
}

int32_t secureAdminFolder(const std::string &folder) {
  TraceScope trace("secureAdminFolder", folder);
  const std::string path = withoutTrailingBackslash(folder);
  const AdminDescriptor descriptor;
  int32_t status = makeFolder(path, descriptor.get());
  if (status == SYSTEM_ERROR_ALREADY_EXISTS) status = checkAndTakeOver(path, descriptor.get());
  return trace.result(status);
}

int32_t createRandomAdminFolder(const std::string &parent, const std::string &prefix, std::string &folder) {
  folder.clear();
  const RandomEntry random = advapiEntry<RandomEntry>("SystemFunction036");
  int32_t status = SYSTEM_ERROR_ALREADY_EXISTS;
  for (int attempt = 0; attempt < RANDOM_NAME_ATTEMPTS && status == SYSTEM_ERROR_ALREADY_EXISTS;
       ++attempt) {
    uint8_t bytes[RANDOM_NAME_BYTES] = {};
    // Without a random source (Windows 9x) the name need only be new: the
    // creation below fails on any folder that is there already.
    if (random == nullptr || !random(bytes, sizeof bytes)) {
      const DWORD fallback[2] = {GetTickCount() + static_cast<DWORD>(attempt), GetCurrentProcessId()};
      CopyMemory(bytes, fallback, sizeof bytes);
    }
    const std::string candidate = parent + randomFolderName(prefix, bytes, sizeof bytes);
    status = createAdminFolder(candidate);
    if (status == STATUS_OK) folder = candidate + '\\';
  }
  return status;
}

int32_t initAdminSystemPaths(const std::string &programFilePath) {
  TraceScope trace("initAdminSystemPaths", programFilePath);
  int32_t status = initFixedSystemPaths(programFilePath);
  if (status == STATUS_OK) status = secureAdminFolder(pathCommonAppData);
  if (status == STATUS_OK) status = createWorkFolder(pathCommonAppData, WORK_FOLDER_PREFIX, pathWorkFolder);
  return trace.result(status);
}
