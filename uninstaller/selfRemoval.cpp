#include "uninstaller/selfRemoval.h"

#include "common/pathRules.h"
#include "common/runningProgram.h"
#include "common/saverScope.h"
#include "common/statusCodes.h"

#include <windows.h>

int32_t leaveSaverFolder(const std::string &saverFolder) {
  const std::string self = runningProgramPath();
  if (lstrcmpiA(folderOfFile(self).c_str(), saverFolder.c_str()) != 0) return STATUS_OK;
  char tempFolder[MAX_PATH + 1] = "";
  char parking[MAX_PATH + 1] = "";
  const DWORD length = GetTempPathA(sizeof tempFolder, tempFolder);
  // A fresh, unique name that nothing else uses.
  if (length == 0 || length >= sizeof tempFolder || GetTempFileNameA(tempFolder, "srm", 0, parking) == 0)
    return static_cast<int32_t>(GetLastError());
  if (!MoveFileExA(self.c_str(), parking, MOVEFILE_REPLACE_EXISTING)) {
    const int32_t status = static_cast<int32_t>(GetLastError());
    DeleteFileA(parking);
    return status;
  }
  // The deletion at the next start is the machine's list (HKLM), which a
  // user's saver leaves alone; refused without the rights, too. Either way
  // the file stays in the user's temporary folder, where the system's
  // clean-up finds it.
  if (!userSaverScope()) MoveFileExA(parking, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return STATUS_OK;
}
