#include "examples/sample/saverUninstall.h"

#include "common/dialogs/messageDialog.h"
#include "common/statusCodes.h"
#include "package/installedSaver.h"
#include "package/saverRemoval.h"

int32_t uninstallSaver(const SaverPlace &place, const std::string &title, bool quiet) {
  if (!quiet &&
      !askYesNo("Remove the screen saver " + title + " and all its files from this computer?\r\n\r\n" +
                "Its folder: " + place.saverFolder))
    return STATUS_USER_ABORT;
  const RemovalOutcome outcome =
      removeInstalledSaver(findInstalledSaver(place.codedName, saverProgramName(place.codedName)));
  if (quiet) return outcome.status;
  if (outcome.status == STATUS_OK)
    showInformationMessage("The screen saver " + title + " has been removed from this computer.");
  else
    showErrorMessage("The screen saver " + title +
                     " could not be removed completely.\r\n\r\nStill in place: " + outcome.stayed +
                     " (error " + std::to_string(outcome.status) +
                     ").\r\n\r\nPlease close the screen saver control panel and try again.");
  return outcome.status;
}
