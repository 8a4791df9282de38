#include "package/packageCopy.h"

#include "common/QRX_FileUtils.h"
#include "common/launcherProtocol.h"
#include "common/logFile.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "package/win32File.h"

#include <windows.h>

static const int PACKAGE_COPY_DELETE_ATTEMPTS = 100;

// A second name for the installer file, where its file system has them:
// the package is then read without a byte copied. Windows 9x has no such call.
static bool linkToInstaller(const std::string &installer, const std::string &link) {
  typedef BOOL(WINAPI * CreateHardLinkEntry)(LPCSTR, LPCSTR, LPSECURITY_ATTRIBUTES);
  const CreateHardLinkEntry createHardLink = reinterpret_cast<CreateHardLinkEntry>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateHardLinkA")));
  return createHardLink != nullptr && createHardLink(link.c_str(), installer.c_str(), nullptr) != FALSE;
}

int32_t CopyPackageToWorkFolder(const std::string &installerFile, const std::string &packagePath,
                                bool startedByLauncher, bool &linked, Failures &failures) {
  TraceScope trace("CopyPackageToWorkFolder");
  int32_t status = deleteFileWithRetries(packagePath, PACKAGE_COPY_DELETE_ATTEMPTS);
  linked = status == STATUS_OK && startedByLauncher && linkToInstaller(installerFile, packagePath);
  if (status == STATUS_OK && !linked && !CopyFileForced(installerFile, packagePath, false))
    status = static_cast<int32_t>(GetLastError());
  if (status != STATUS_OK) addFailure(failures, FailureKind::File, STATUS_PACKAGE_COPY_FAILED, packagePath);
  return trace.result(status);
}

void MovePackageLinkAside(const std::string &installerFile, const std::string &packagePath) {
  if (DeleteFileA(packagePath.c_str())) return;
  const std::string aside = folderOfFile(installerFile) + PACKAGE_COPY_NAME;
  MoveFileExA(packagePath.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
}
