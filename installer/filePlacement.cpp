#include "installer/filePlacement.h"

#include "common/saverScope.h"
#include "common/unicodeText.h"
#include "common/QRX_FileUtils.h"
#include "common/QRX_OSUtils.h"
#include "common/adminFolder.h"
#include "common/logFile.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "installer/diskSpace.h"
#include "installer/launcherLink.h"
#include "installer/placementRules.h"
#include "installer/stringTable.h"
#include "installer/uninstallRegistration.h"
#include "package/dataFileFormat.h"
#include "package/installedSaver.h"
#include "package/packageFormat.h"
#include "package/registryValues.h"
#include "package/win32File.h"

#include <shellapi.h>

#include <algorithm>

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
                           const std::string &saverName, InstallObserver &observer,
                           bool replacementAgreed) {
  TraceScope trace("PrepareSaverFolder", sharedFolder + codedName);
  // An empty or climbing name would make the older copy's folder the shared
  // or Windows folder itself.
  if (!isSafeEntryName(codedName)) {
    return trace.result(STATUS_UNSAFE_NAME);
  }
  // The Windows folder first, then the shared folder.
  const std::string folders[] = {pathWindows, sharedFolder};
  // The user's own saver never touches the Windows folder.
  const OlderCopy copies[] = {userSaverScope() ? OlderCopy{} : findOlderCopy(pathWindows, codedName, true),
                              findOlderCopy(sharedFolder, codedName, false)};
  bool found = false;
  for (const OlderCopy &copy : copies) found = found || copy.program || copy.folder;
  if (found && !replacementAgreed &&
      !observer.ask(Question::overwriteSaver,
                    utf8FromAnsi(saverName) + programText(IDS_OVERWRITE_QUESTION))) {
    return trace.result(STATUS_USER_ABORT);
  }
  // Made or taken over before anything below it is deleted: a link in its
  // place would lead the deletion elsewhere.
  int32_t status = secureAdminFolder(sharedFolder);
  if (status == STATUS_FOLDER_IS_LINK) observer.failed(Failure{FailureKind::File, status, sharedFolder});
  if (status != STATUS_OK) return trace.result(status);
  for (int i = 0; i < 2; ++i) {
    if (copies[i].program) deleteFileForced(olderCopyProgram(folders[i], codedName));
    if (copies[i].folder) deleteFolderTree(olderCopyFolder(folders[i], codedName));
  }
  // An older copy's folder that was a link went as one; the folder is made
  // afresh then, or taken over when some of an older copy stayed.
  const std::string saverFolder = saverFolderOf(sharedFolder, codedName);
  status = secureAdminFolder(saverFolder);
  if (status == STATUS_FOLDER_IS_LINK) observer.failed(Failure{FailureKind::File, status, saverFolder});
  return trace.result(status);
}

// Copies movie-copy member index. Its paths come from the data file, so they
// are kept inside the saver folder like every other member's.
static int32_t copyMovieMember(const Package &package, const InstallPlan &plan, int index,
                               Failures &failures) {
  const std::string firstPath = memberPathOf(package.member(1));
  const std::string ownPath = memberPathOf(package.member(index));
  for (const std::string &path : {firstPath, ownPath}) {
    // An empty member-1 path leads nowhere: it names the saver folder itself,
    // which the copy below fails on like on a missing source.
    if (!path.empty() && !isSafeMemberPath(path)) {
      addFailure(failures, FailureKind::File, STATUS_UNSAFE_NAME, path);
      return STATUS_UNSAFE_NAME;
    }
  }
  const std::string source = movieCopySource(index, firstPath, plan.folders.work, plan.folders.saver);
  const std::string target = plan.folders.saver + ownPath;
  if (CopyFileForced(source, target, false)) return STATUS_OK;
  // A member that names member 1's own file is already in place.
  if (source == target) return STATUS_OK;
  addFailure(failures, FailureKind::File, STATUS_MOVIE_COPY_FAILED, source);
  return STATUS_MOVIE_COPY_FAILED;
}

static int32_t placeMember(Package &package, const InstallPlan &plan, int index, InstallObserver &observer,
                           Failures &failures) {
  const DataMemberRecord &record = package.member(index);
  // Skipping a path without its end would install without that file.
  if (!memberPathTerminated(record)) {
    addFailure(failures, FailureKind::File, STATUS_UNSAFE_NAME,
               std::string(record.path, sizeof record.path));
    return STATUS_UNSAFE_NAME;
  }
  if (memberPathOf(record).empty()) return STATUS_OK;
  if (record.memberType == MEMBER_TYPE_MOVIE_COPY) return copyMovieMember(package, plan, index, failures);
  return package.expandMember(plan.folders.saver, index, observer, failures);
}

static void setArchiveAttribute(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_ARCHIVE);
}

int32_t ExpandAllMembers(Package &package, const InstallPlan &plan, InstallObserver &observer) {
  TraceScope trace("ExpandAllMembers");
  observer.status(programText(IDS_EXPANDING_FILES));
  Failures failures;
  int32_t status = tell(observer, package.openDataFile(plan.dataFile, failures), failures);
  // The members' own sizes are known now, before the first is written.
  if (status == STATUS_OK)
    status = checkInstallSpace({saverFolderNeed(package.header(), plan, package.memberExpandedSizes())},
                               observer);
  if (status != STATUS_OK) return trace.result(status);
  if (package.settings().firstMemberType == MEMBER_TYPE_MOVIE_COPY) package.markFirstMemberMovieCopy();
  for (int index = 1;
       index <= package.settings().memberCount && status == STATUS_OK && !observer.cancelled(); ++index) {
    status = tell(observer, placeMember(package, plan, index, observer, failures), failures);
    const std::string memberPath = memberPathOf(package.member(index));
    if (status == STATUS_OK && isSafeMemberPath(memberPath))
      tellPlaced(observer, plan.folders.saver + memberPath);
  }
  // "Cancel" inside a member left none of it; the install ends as after any "Cancel".
  if (status == STATUS_USER_ABORT) status = STATUS_OK;
  // The work folder's data file is deleted after the run; it must not stay open.
  const int32_t closed = tell(observer, package.closeDataFile(failures), failures);
  if (status == STATUS_OK) {
    status = closed;
    observer.progress();
  }
  const std::string firstPath = memberPathOf(package.member(1));
  if (isSafeMemberPath(firstPath)) setArchiveAttribute(plan.folders.saver + firstPath);
  return trace.result(status);
}

int32_t WriteSaverSettings(const Package &package, const InstallPlan &plan, InstallObserver &observer) {
  TraceScope trace("WriteSaverSettings");
  observer.status(programText(IDS_WRITING_SAVER_DATA_FILE));
  const std::string path = plan.folders.saver + SAVER_SETTINGS_FILE;
  bool created = false;
  const int32_t status = writeNewFile(path, &package.settings(), sizeof(SaverSettings), created);
  if (status != STATUS_OK) observer.failed(Failure{FailureKind::File, status, path});
  if (status == STATUS_OK) tellPlaced(observer, path);
  return trace.result(status);
}

static int32_t copyDocument(const InstallerHeader &header, const InstallPlan &plan, int entryIndex,
                            InstallObserver &observer) {
  const std::string name = entryNameOf(header.entries[entryIndex]);
  if (name.empty()) return STATUS_EXPANDED_FILE_MISSING;
  if (!isSafeEntryName(name)) return STATUS_UNSAFE_NAME;
  const std::string source = plan.folders.work + name;
  if (!fileExists(source)) return STATUS_EXPANDED_FILE_MISSING;
  if (!CopyFileForced(source, plan.folders.saver + name, false)) return int32_t(GetLastError());
  tellPlaced(observer, plan.folders.saver + name);
  return STATUS_OK;
}

int32_t CopyDocsToSaverFolder(const InstallerHeader &header, const InstallPlan &plan,
                              InstallObserver &observer) {
  TraceScope trace("CopyDocsToSaverFolder");
  int32_t status = STATUS_OK;
  if (header.showLicense != 0) status = copyDocument(header, plan, ENTRY_LICENSE, observer);
  if (header.carriesReadMe != 0) {
    const int32_t readMeStatus = copyDocument(header, plan, ENTRY_README, observer);
    if (readMeStatus != STATUS_OK) status = readMeStatus;
  }
  return trace.result(status);
}

void OpenReadMe(const InstallPlan &plan, HWND owner) {
  // The default action may run the file, so only the placed read-me is opened.
  if (plan.placedReadMe.empty()) return;
  TraceScope trace("OpenReadMe", plan.placedReadMe);
  // The viewer the user's settings choose runs with the rights of whoever
  // opens the file: the launcher, which runs as the user, opens it.
  if (sendCommandToLauncher(owner, openReadMeCommand(plan.placedReadMe)) != STATUS_NOT_DONE) return;
  if (isProcessElevated()) {
    logLine("read-me left closed: no launcher opens it with the user's rights");
    return;
  }
  ShellExecuteA(owner, nullptr, plan.placedReadMe.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void tellPlaced(InstallObserver &observer, const std::string &path) {
  int64_t size = 0;
  if (lookUpFileSize(path, size)) observer.placed(path, static_cast<uint64_t>(size));
}

static bool listed(const std::vector<std::string> &paths, const std::string &path) {
  return std::ranges::any_of(
      paths, [&path](const std::string &each) { return lstrcmpiA(each.c_str(), path.c_str()) == 0; });
}

std::vector<std::string> SharedLibrariesPresent(const InstallPlan &plan) {
  std::vector<std::string> present;
  for (const std::string &library : plan.sharedLibraries)
    if (fileExists(library)) present.push_back(library);
  return present;
}

std::vector<std::string> CountSharedLibraryUsers(const InstallPlan &plan,
                                                 const std::vector<std::string> &presentBefore,
                                                 InstallObserver &observer) {
  TraceScope trace("CountSharedLibraryUsers");
  std::vector<std::string> counted;
  for (const std::string &library : recordedSharedLibraries(plan.saverName))
    if (isSharedLibraryPath(library, plan.folders.shared)) counted.push_back(library);
  for (const std::string &library : plan.sharedLibraries) {
    if (listed(counted, library) || !fileExists(library)) continue;
    uint32_t count = 0;
    const bool known = readRegistryCount(saverRegistryRoot(), SHARED_LIBRARY_COUNTS_KEY, library, count);
    const uint32_t raised = raisedUserCount(count, known, listed(presentBefore, library));
    if (writeRegistryCount(saverRegistryRoot(), SHARED_LIBRARY_COUNTS_KEY, library, raised) != STATUS_OK)
      continue;
    counted.push_back(library);
    observer.valueWritten(std::string(userSaverScope() ? "HKCU\\" : "HKLM\\") + SHARED_LIBRARY_COUNTS_KEY,
                          library, std::to_string(raised));
  }
  return counted;
}
