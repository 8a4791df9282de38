#include "installer/filePlacement.h"

#include "common/pathRules.h"

#include "common/QRX_FileUtils.h"
#include "common/dialogs/messageDialog.h"
#include "common/logFile.h"
#include "installer/failureReport.h"
#include "installer/stringTable.h"
#include "package/dataFileFormat.h"
#include "package/installerRun.h"
#include "package/packageExtraction.h"
#include "package/win32File.h"
#include "package/installNames.h"
#include "package/installedSaver.h"
#include "package/packageFormat.h"
#include "package/pk_stuff.h"
#include "common/statusCodes.h"
#include "installer/placementRules.h"
#include "installer/uninstallRegistration.h"
#include "package/registryValues.h"
#include "package/saverDataFile.h"

#include <shellapi.h>

#include <algorithm>

// 0 when the folder exists afterwards, else the system's code.
static int32_t createFolder(const std::string &folder) {
  if (CreateDirectoryA(folder.c_str(), nullptr)) return STATUS_OK;
  const DWORD error = GetLastError();
  return error == ERROR_ALREADY_EXISTS ? STATUS_OK : int32_t(error);
}

struct OlderCopy {
  bool program;
  bool folder;
};

// In the Windows folder a folder of the saver's name counts only when it
// holds the settings every install writes: a saver named "Media" or "Fonts"
// must not take the system's folder of that name with it.
static OlderCopy findOlderCopy(const std::string &folder, const std::string &codedName,
                               bool folderNeedsSettings) {
  OlderCopy copy = {false, false};
  // Without a folder the paths would be taken relative to the current one.
  if (folder.empty()) return copy;
  copy.program = pathExists(olderCopyProgram(folder, codedName));
  const std::string saverFolder = olderCopyFolder(folder, codedName);
  copy.folder =
      folderExists(saverFolder) && (!folderNeedsSettings || pathExists(saverFolder + SAVER_SETTINGS_FILE));
  return copy;
}

int32_t PrepareSaverFolder(const std::string &sharedFolder, const std::string &codedName,
                           const std::string &saverName, const std::string &question, bool ask) {
  TraceScope trace("PrepareSaverFolder", sharedFolder + codedName);
  // An empty or climbing name would make the older copy's folder the shared
  // or Windows folder itself.
  if (!isSafeEntryName(codedName)) {
    return trace.result(STATUS_UNSAFE_NAME);
  }
  // The Windows folder first, then the shared folder.
  const std::string folders[] = {pathWindows, sharedFolder};
  const OlderCopy copies[] = {findOlderCopy(pathWindows, codedName, true),
                              findOlderCopy(sharedFolder, codedName, false)};
  bool found = false;
  for (const OlderCopy &copy : copies) found = found || copy.program || copy.folder;
  if (found && ask && !askOkCancel(saverName + question)) {
    return trace.result(STATUS_USER_ABORT);
  }
  for (int i = 0; i < 2; ++i) {
    if (copies[i].program) deleteFileForced(olderCopyProgram(folders[i], codedName));
    if (copies[i].folder) deleteFolderTree(olderCopyFolder(folders[i], codedName));
  }
  const int32_t sharedStatus = createFolder(sharedFolder);
  const int32_t saverStatus = createFolder(saverFolderOf(sharedFolder, codedName));
  const int32_t status = saverStatus != STATUS_OK ? saverStatus : sharedStatus;
  return trace.result(status);
}

// Copies movie-copy member index. Its paths come from the data file, so they
// are kept inside the saver folder like every other member's.
static int32_t copyMovieMember(int index) {
  const std::string firstPath = memberPathOf(installerRun.members[1]);
  const std::string ownPath = memberPathOf(installerRun.members[index]);
  for (const std::string &path : {firstPath, ownPath}) {
    // An empty member-1 path leads nowhere: it names the saver folder itself,
    // which the copy below fails on like on a missing source.
    if (!path.empty() && !isSafeMemberPath(path)) {
      ReportInstallError(STATUS_UNSAFE_NAME, path);
      return STATUS_UNSAFE_NAME;
    }
  }
  const std::string source = movieCopySource(index, firstPath, pathWorkFolder, installerRun.saverFolder);
  const std::string target = installerRun.saverFolder + ownPath;
  if (CopyFileForced(source, target, false)) return STATUS_OK;
  // A member that names member 1's own file is already in place.
  if (source == target) return STATUS_OK;
  ReportInstallError(STATUS_MOVIE_COPY_FAILED, source);
  return STATUS_MOVIE_COPY_FAILED;
}

static int32_t placeMembers() {
  int32_t status = STATUS_OK;
  for (int index = 1; index <= installerRun.settings.memberCount && status == STATUS_OK; ++index) {
    const DataMemberRecord &record = installerRun.members[index];
    // Skipping a path without its end would install without that file.
    if (!memberPathTerminated(record)) {
      ReportInstallError(STATUS_UNSAFE_NAME, std::string(record.path, sizeof record.path));
      return STATUS_UNSAFE_NAME;
    }
    if (memberPathOf(record).empty()) continue;
    if (installerRun.members[index].memberType == MEMBER_TYPE_MOVIE_COPY) {
      status = copyMovieMember(index);
    } else {
      uint8_t attribute = 0;
      Failures failures;
      status =
          told(ExpandDataMember(installerRun.saverFolder, index, attribute, false, failures), failures);
    }
  }
  return status;
}

static void setArchiveAttribute(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_ARCHIVE);
}

int32_t ExpandAllMembers() {
  TraceScope trace("ExpandAllMembers");
  showExtractionStatus(programText(IDS_EXPANDING_FILES));
  bool isOpen = false;
  Failures failures;
  int32_t status = told(OpenDataFile(installerRun.dataFile, isOpen, failures), failures);
  if (status != STATUS_OK) {
    return trace.result(status);
  }
  if (installerRun.settings.firstMemberType == MEMBER_TYPE_MOVIE_COPY)
    installerRun.members[1].memberType = MEMBER_TYPE_MOVIE_COPY;
  {
    const CodecLibraryHold library(pathWorkFolder);
    status = placeMembers();
  }
  if (status == STATUS_OK) {
    status = runTelling(CloseDataFile);
    stepExtractionProgress();
  } else {
    // The work folder's data file is deleted after the run; it must not stay open.
    runTelling(CloseDataFile);
  }
  const std::string firstPath = memberPathOf(installerRun.members[1]);
  if (isSafeMemberPath(firstPath)) setArchiveAttribute(installerRun.saverFolder + firstPath);
  return trace.result(status);
}

int32_t WriteSaverSettings() {
  TraceScope trace("WriteSaverSettings");
  showExtractionStatus(programText(IDS_WRITING_SAVER_DATA_FILE));
  const std::string path = installerRun.saverFolder + SAVER_SETTINGS_FILE;
  bool created = false;
  const int32_t status = writeNewFile(path, &installerRun.settings, sizeof installerRun.settings, created);
  if (status != STATUS_OK) ReportInstallError(status, path);
  return trace.result(status);
}

static int32_t copyDocument(int entryIndex) {
  const std::string name = entryNameOf(installerRun.header.entries[entryIndex]);
  if (name.empty()) return STATUS_EXPANDED_FILE_MISSING;
  if (!isSafeEntryName(name)) return STATUS_UNSAFE_NAME;
  const std::string source = pathWorkFolder + name;
  if (!fileExists(source)) return STATUS_EXPANDED_FILE_MISSING;
  if (CopyFileForced(source, installerRun.saverFolder + name, false)) return STATUS_OK;
  return int32_t(GetLastError());
}

int32_t CopyDocsToSaverFolder() {
  TraceScope trace("CopyDocsToSaverFolder");
  int32_t status = STATUS_OK;
  if (installerRun.header.showLicense != 0) status = copyDocument(ENTRY_LICENSE);
  if (installerRun.header.carriesReadMe != 0) {
    const int32_t readMeStatus = copyDocument(ENTRY_README);
    if (readMeStatus != STATUS_OK) status = readMeStatus;
  }
  return trace.result(status);
}

void OpenReadMe(HWND owner) {
  if (installerRun.header.carriesReadMe == 0) return;
  // The default action may run the file, so only the placed ReadMe is opened.
  const std::string name = entryNameOf(installerRun.header.entries[ENTRY_README]);
  if (!isSafeEntryName(name)) return;
  const std::string path = installerRun.saverFolder + name;
  TraceScope trace("OpenReadMe", path);
  ShellExecuteA(owner, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

static bool listed(const std::vector<std::string> &paths, const std::string &path) {
  return std::ranges::any_of(
      paths, [&path](const std::string &each) { return lstrcmpiA(each.c_str(), path.c_str()) == 0; });
}

// The libraries the package writes into the shared folder (not the Flash
// Player installers that the same destKind sends to the work folder).
static std::vector<std::string> packageSharedLibraries() {
  const InstallFolders folders = {pathWorkFolder, installerRun.saverFolder, pathCommonAppData, pathSystem};
  std::vector<std::string> libraries;
  for (int index = ENTRY_CODEC_LIBRARY; index <= ENTRY_LAST; ++index) {
    const PackageEntry &entry = installerRun.header.entries[index];
    std::string path;
    if (entryPresent(entry) && destinationOf(entry.destKind) == Destination::SharedLibrary &&
        entryTarget(entry, folders, path) == STATUS_OK && isSharedLibraryPath(path, pathCommonAppData) &&
        !listed(libraries, path))
      libraries.push_back(path);
  }
  return libraries;
}

std::vector<std::string> SharedLibrariesPresent() {
  std::vector<std::string> present;
  for (const std::string &library : packageSharedLibraries())
    if (fileExists(library)) present.push_back(library);
  return present;
}

std::vector<std::string> CountSharedLibraryUsers(const std::vector<std::string> &presentBefore) {
  TraceScope trace("CountSharedLibraryUsers");
  std::vector<std::string> counted;
  for (const std::string &library : recordedSharedLibraries(installerRun.saverName))
    if (isSharedLibraryPath(library, pathCommonAppData)) counted.push_back(library);
  for (const std::string &library : packageSharedLibraries()) {
    if (listed(counted, library) || !fileExists(library)) continue;
    uint32_t count = 0;
    const bool known = readRegistryCount(HKEY_LOCAL_MACHINE, SHARED_LIBRARY_COUNTS_KEY, library, count);
    const uint32_t raised = raisedUserCount(count, known, listed(presentBefore, library));
    if (writeRegistryCount(HKEY_LOCAL_MACHINE, SHARED_LIBRARY_COUNTS_KEY, library, raised) == STATUS_OK)
      counted.push_back(library);
  }
  return counted;
}
