// saversetup: the installer. Its file carries the package behind its own
// image; it shows the installer picture or movie and the licence and, on
// "Install" or at once in quiet mode, places the screen saver's files.
#include <windows.h>

#include "common/elevatedCopy.h"
#include "common/elevationRule.h"
#include "common/QRX_OSUtils.h"
#include "common/librarySearch.h"
#include "common/pathRules.h"
#include "common/runningProgram.h"
#include "common/programSize.h"
#include "common/runLog.h"
#include "installer/fInstall.h"
#include "installer/fPreparingInstallWnd.h"
#include "installer/installerApplication.h"
#include "installer/installerCommandLine.h"
#include "installer/stringTable.h"
#include "package/package.h"

// The package starts behind this many bytes of the program's own file.
SAVER_PROGRAM_SIZE_MARK(INSTALLER_SIZE_IN_BYTES);

namespace {

const char PROGRAM_NAME[] = "saversetup";

std::string ownFileName() {
  const std::string file = ownProgramFile();
  return file.substr(folderOfFile(file).size());
}

// Both windows live until the message loop ends. Silent, neither ever
// comes on the screen; the main window still exists, as the sender the
// launcher knows.
int runInstaller(HINSTANCE instance, const InstallerSwitches &switches, const RunLog &log) {
  TpreparingInstallWnd preparingWindow(instance, !switches.silent);
  preparingWindow.setCaption(ownFileName());
  preparingWindow.setMessage(programText(IDS_PREPARING));
  processPendingMessages();
  TInstallerForm form(instance, preparingWindow, programSizeOf(INSTALLER_SIZE_IN_BYTES), log, switches);
  form.create();
  runMessageLoop();
  return form.exitCode();
}

// A machine-wide package installs in an elevated copy of the installer,
// started with the same parameters: the consent prompt is the only thing
// this process shows.
bool needsElevatedCopy(const std::vector<std::string> &parameters) {
  const bool forMachine =
      installScopeOfFile(ownProgramFile(), programSizeOf(INSTALLER_SIZE_IN_BYTES)) == InstallScope::machine;
  return elevationStepFor({forMachine, !mayBeElevated(), isElevatedCopy(parameters)}) ==
         ElevationStep::restartElevated;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  restrictLibrarySearch();
  const std::vector<std::string> parameters = commandLineParameters();
  const InstallerSwitches switches = readInstallerSwitches(parameters);
  if (needsElevatedCopy(parameters))
    return runElevatedCopy(ownProgramFile(), elevatedCopyParameters(parameters), switches.silent);
  speakUserLanguage(switches.languageCode, "");
  RunLog log;
  log.open(switches.logPath, PROGRAM_NAME);
  log.write(commandLineText(parameters));
  createApplicationWindow(instance);
  setApplicationTitle(programText(IDS_APPLICATION_PREPARING));
  const int exitCode = runInstaller(instance, switches, log);
  log.write(exitCodeText(exitCode));
  return exitCode;
}
