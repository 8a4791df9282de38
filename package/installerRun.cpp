#include "package/installerRun.h"

#include "common/QRX_FileUtils.h"
#include "common/launcherProtocol.h"
#include "common/pathRules.h"
#include "common/runningProgram.h"
#include "common/statusCodes.h"
#include "package/codedShortName.h"
#include "package/installedSaver.h"
#include "package/packageFormat.h"

#include <windows.h>

InstallerRun installerRun;

void ComputePackagePaths() {
  installerRun.installerFile = ownProgramFile();
  installerRun.packagePath = pathWorkFolder + PACKAGE_COPY_NAME;
}

int32_t ComputeSaverPaths(Failures &failures) {
  InstallerRun &run = installerRun;
  run.saverName = saverNameOf(run.header);
  run.codedShortName = getCodedShortFilenameForScreensaver(run.saverName);
  run.saverFolder = saverFolderOf(pathCommonAppData, run.codedShortName);
  const PackageEntry &dataFile = run.header.entries[ENTRY_DATA_FILE];
  run.dataFile = pathWorkFolder + entryNameOf(dataFile);
  // The saver folder and the data file are removed again later; names that
  // lead elsewhere would remove someone else's files.
  if (!isSafeEntryName(run.codedShortName)) {
    addFailure(failures, FailureKind::File, STATUS_UNSAFE_NAME, run.saverName);
    return STATUS_UNSAFE_NAME;
  }
  if (entryPresent(dataFile) && !isSafeEntryName(entryNameOf(dataFile))) {
    addFailure(failures, FailureKind::File, STATUS_UNSAFE_NAME, entryNameOf(dataFile));
    return STATUS_UNSAFE_NAME;
  }
  return STATUS_OK;
}
