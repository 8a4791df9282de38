// saversetup: the installer. Its file carries the package behind its own
// image; it shows the installer picture or movie and the licence and, on
// "Install" or at once in quiet mode, places the screen saver's files.
#include <windows.h>

#include "common/pathRules.h"
#include "common/programSize.h"
#include "installer/fInstall.h"
#include "installer/fPreparingInstallWnd.h"
#include "installer/installerApplication.h"
#include "installer/installerMessages.h"

// The package starts behind this many bytes of the program's own file.
SAVER_PROGRAM_SIZE_MARK(INSTALLER_SIZE_IN_BYTES);

namespace {

// "MS Sans Serif", 8 points at 96 dots per inch, whatever the screen's.
HFONT createInstallerFont() {
  return CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
}

std::string ownFileName() {
  char path[MAX_PATH + 1] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string file = path;
  return file.substr(folderOfFile(file).size());
}

// Both windows live until the message loop ends; the font outlives them.
int runInstaller(HINSTANCE instance, HFONT font) {
  TpreparingInstallWnd preparingWindow(instance, font);
  preparingWindow.setCaption(ownFileName());
  preparingWindow.setMessage(PREPARING_TEXT);
  processPendingMessages();
  TInstallerForm form(instance, preparingWindow, font);
  form.create();
  runMessageLoop();
  return form.exitCode();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  createApplicationWindow(instance);
  setApplicationTitle(APPLICATION_PREPARING_TEXT);
  HFONT font = createInstallerFont();
  const int exitCode = runInstaller(instance, font);
  DeleteObject(font);
  return exitCode;
}
