// saverremove: the uninstaller a package carries into its saver folder. The
// uninstall entry runs it with the saver's coded name ("/n="), and "/q" to
// ask and show nothing. It removes what the installation placed (see
// package/saverRemoval.h), and itself: it moves its own file into the
// temporary folder, where Windows deletes it at the next start. The exit
// code is 0 or the status.
#include "common/QRX_FileUtils.h"
#include "common/dialogs/messageDialog.h"
#include "common/dialogs/systemErrorText.h"
#include "common/elevatedCopy.h"
#include "common/elevationRule.h"
#include "common/QRX_OSUtils.h"
#include "common/librarySearch.h"
#include "common/runningProgram.h"
#include "common/saverScope.h"
#include "common/statusCodes.h"
#include "common/unicodeText.h"
#include "package/installedSaver.h"
#include "package/saverRemoval.h"
#include "uninstaller/selfRemoval.h"
#include "uninstaller/uninstallerTexts.h"

#include <windows.h>

namespace {

std::string reasonFor(int32_t status) { return reasonText(status, systemErrorText(status), programText); }

int32_t removeSaver(const InstalledSaver &saver, bool quiet) {
  // The entry's name is in the system's code page; the messages are UTF-8.
  const std::string displayName = utf8FromAnsi(displayNameOf(saver));
  if (!quiet && !askYesNo(removeQuestion(displayName, programText))) return STATUS_USER_ABORT;
  RemovalOutcome outcome;
  outcome.status = leaveSaverFolder(saver.saverFolder);
  if (outcome.status != STATUS_OK)
    outcome.stayed = runningProgramPath();
  else
    outcome = removeInstalledSaver(saver);
  if (quiet) return outcome.status;
  if (outcome.status == STATUS_OK)
    showInformationMessage(removedText(displayName, outcome, programText));
  else
    showErrorMessage(incompleteText(displayName, outcome, reasonFor(outcome.status), programText));
  return outcome.status;
}

int32_t runUninstaller(const std::string &commandLine) {
  const UninstallerArguments arguments = parseUninstallerArguments(commandLine);
  speakUserLanguage(arguments.languageCode, "");
  if (!arguments.valid) {
    if (!arguments.quiet) showErrorMessage(badCommandText(utf8FromAnsi(commandLine), programText));
    return STATUS_BAD_UNINSTALL_COMMAND;
  }
  // Where it lies tells whose saver it removes; the machine's is removed by
  // an elevated copy, whose answer is this one's.
  const bool forMachine = !isInUserSaverFolder(runningProgramPath());
  if (elevationStepFor({forMachine, !mayBeElevated(), arguments.restarted}) ==
      ElevationStep::restartElevated)
    return runElevatedCopy(ownProgramFile(), commandLine + " " + ELEVATED_COPY_SWITCH, arguments.quiet);
  const int32_t status = initInstalledSaverPaths(runningProgramPath());
  if (status != STATUS_OK) {
    if (!arguments.quiet) showErrorMessage(reasonFor(status));
    return status;
  }
  const InstalledSaver saver =
      findInstalledSaver(arguments.codedName, saverProgramName(arguments.codedName));
  // A program of that name alone may be anyone's: only the saver's folder or
  // its entry make it this one.
  if (!saver.folderPresent && saver.entries.empty()) {
    if (!arguments.quiet) showInformationMessage(nothingToRemoveText(arguments.codedName, programText));
    return STATUS_NOTHING_TO_REMOVE;
  }
  // The languages the package let its installer speak, which its entry keeps.
  if (!saver.entries.empty()) speakUserLanguage(arguments.languageCode, saver.entries.front().languages);
  return removeSaver(saver, arguments.quiet);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int) {
  restrictLibrarySearch();
  return static_cast<int>(runUninstaller(lpCmdLine != nullptr ? lpCmdLine : ""));
}
